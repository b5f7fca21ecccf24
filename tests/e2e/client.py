"""Drives the real MicroClient.exe under Wine + Xvfb from outside (xdotool, xwininfo)."""
import os
import re
import subprocess
import sys
import time


class Session:
    def __init__(self, build):
        self.build = build
        self.run = os.path.join(build, "wine-run")
        with open(os.path.join(build, "wine", "display")) as f:
            self.display = f.read().strip()
        self.env = dict(os.environ, DISPLAY=self.display)

    def start(self, exe, extra_env=None):
        env = dict(self.env, **(extra_env or {}))
        return subprocess.Popen([self.run, exe], env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                start_new_session=True)

    def x(self, *args):
        out = subprocess.run(list(args), env=self.env, capture_output=True, text=True)
        return out.stdout

    def windows(self, title):
        """Visible top-level X windows whose name is exactly `title`."""
        ids = self.x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)).split()
        return [int(i) for i in ids]

    def wait_window(self, title, timeout=60, size=None):
        end = time.time() + timeout
        while time.time() < end:
            for w in self.windows(title):
                geometry = self.geometry(w)
                if geometry is not None and (size is None or geometry[2:] == size):
                    return w
            time.sleep(0.2)
        raise AssertionError("no window %r%s within %ss" % (title, "" if size is None else " of size %s" % (size,), timeout))

    def geometry(self, w):
        info = self.x("xwininfo", "-id", str(w))
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        found = [re.search(r"%s:\s+(-?\d+)" % k, info) for k in keys]
        if not all(found):
            return None  # the window is gone
        g = {k: int(m.group(1)) for k, m in zip(keys, found)}
        return (g["Absolute upper-left X"], g["Absolute upper-left Y"], g["Width"], g["Height"])

    def mapped(self, w):
        return "IsViewable" in self.x("xwininfo", "-id", str(w))

    def screen_size(self):
        m = re.search(r"dimensions:\s+(\d+)x(\d+)", self.x("xdpyinfo"))
        return (int(m.group(1)), int(m.group(2)))

    def click(self, w, x, y):
        self.x("xdotool", "mousemove", "--window", str(w), str(x), str(y))
        time.sleep(0.2)
        self.x("xdotool", "click", "1")

    def drag(self, w, x, y, dx, dy):
        self.x("xdotool", "mousemove", "--window", str(w), str(x), str(y))
        time.sleep(0.2)
        self.x("xdotool", "mousedown", "1")
        time.sleep(0.3)
        steps = 5
        for i in range(1, steps + 1):
            self.x("xdotool", "mousemove_relative", "--", str(dx // steps), str(dy // steps))
            time.sleep(0.1)
        self.x("xdotool", "mouseup", "1")
        time.sleep(0.5)

    def key(self, w, key):
        self.x("xdotool", "key", "--window", str(w), key)

    def pixel(self, w, x, y):
        """The colour at client point (x, y) of window w, as 'r,g,b'."""
        return rgb(subprocess.run("xwd -silent -id %d | /usr/bin/convert xwd:- -format '%%[pixel:p{%d,%d}]' info:"
                                  % (w, x, y), shell=True, env=self.env, capture_output=True, text=True).stdout)

    def wait_painted(self, title, size, timeout=60):
        """Waits until the window shows something other than black inside."""
        end = time.time() + timeout
        while time.time() < end:
            w = self.wait_window(title, timeout=end - time.time(), size=size)
            p = self.pixel(w, size[0] // 4, size[1] // 2)
            if p is not None and p != (0, 0, 0):
                time.sleep(0.5)
                return
            time.sleep(0.3)
        raise AssertionError("window %r never painted" % title)

    def screen_capture(self):
        """A shell command that writes the screen to stdout as an image. Xvfb's
        frame buffer file is what the display shows; `xwd -root` is not: it
        reads the depth-32 windows of layered frames as undefined, black where
        a colour-keyed window lets them through."""
        frame_buffer = os.path.join(self.build, "wine", "fb", "Xvfb_screen0")
        if os.path.exists(frame_buffer):
            return "cat '%s'" % frame_buffer
        return "import -silent -window root xwd:-"

    def screen_pixel(self, x, y):
        """The colour the display shows at (x, y), as 'r,g,b'."""
        return rgb(subprocess.run("%s | /usr/bin/convert xwd:- -format '%%[pixel:p{%d,%d}]' info:"
                                  % (self.screen_capture(), x, y), shell=True, env=self.env,
                                  capture_output=True, text=True).stdout)

    def screenshot(self, path):
        subprocess.run("%s | /usr/bin/convert xwd:- %s" % (self.screen_capture(), path), shell=True,
                       env=self.env, check=True)


def rgb(text):
    """The first 'r,g,b' triple in ImageMagick's answer, or None."""
    m = re.search(r"(\d+),(\d+),(\d+)", text)
    return tuple(int(v) for v in m.groups()) if m else None


def wait_exit(proc, timeout=30):
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(proc, session=None, titles=("Tarrowin", "VemoWindow")):
    """Ends the client if it still runs and, given the session, waits for its windows to go."""
    if proc.poll() is None:
        try:
            os.killpg(proc.pid, 9)
        except ProcessLookupError:
            pass
        proc.wait(10)
    if session is not None:
        wait_until(lambda: not any(session.windows(t) for t in titles), timeout=15)
        # The single-instance marker goes with the last process of this build's client.
        wait_until(lambda: subprocess.run(["pgrep", "-f", os.path.join(session.build, "shell")],
                                          capture_output=True).returncode != 0, timeout=15)


def wait_until(predicate, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.2)
    return predicate()


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def main(tests):
    """Runs tests(session) in order; argv[1] is the build tree."""
    build = sys.argv[1]
    session = Session(build)
    failed = 0
    for test in tests:
        try:
            test(session)
            print("ok   %s" % test.__name__)
        except AssertionError as error:
            failed += 1
            print("FAIL %s: %s" % (test.__name__, error))
    print("%d passed, %d failed" % (len(tests) - failed, failed))
    sys.exit(1 if failed else 0)
