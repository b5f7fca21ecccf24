"""Helpers for the play-stage tests: clients stamped with the demo server's
addresses, the window probe, the server and URL logs."""
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time

from client import check, wait_until

WM_CLOSE = 0x10
WM_COMMAND = 0x111
TRAY_CALLBACK = 0x401
WM_LBUTTONDOWN = 0x201
WM_LBUTTONUP = 0x202
WM_LBUTTONDBLCLK = 0x203
WM_RBUTTONDOWN = 0x204
IDYES, IDNO = 6, 7
SHOW_GAME, EXIT_GAME = 40006, 40007
SW_HIDE, SW_SHOW, SW_RESTORE = 0, 5, 9

PLAY = "Tarrowin+0x10000"      # the play frame: the one frame with a maximise box
LOGIN = "Tarrowin"
LOGIN_ONLY = "Tarrowin+0x80000000"   # the login frame: the one popup of that title
WEB = "VemoWindow"
WEB_VIEW = "VemoWindow/Internet Explorer_Server"  # the login page's browser view
QUESTION = "*##32770"  # the message box ("提示": Wine mangles non-ASCII arguments)
EXIT_QUESTION = "\u6b63\u5728\u6e38\u620f\u662f\u5426\u9000\u51fa\uff1f"
RESTORED_CLIENT = (1286, 768)
# Title bar buttons, counted from the right edge of the client area (27 wide each).
BUTTONS_FROM_RIGHT = {"closebtn": 0, "restorebtn": 1, "maxbtn": 1, "minbtn": 2, "refreshbtn": 3, "kefubtn": 4}


def port(build):
    with open(os.path.join(build, "demo-server", "port")) as f:
        return int(f.read().strip())


def stamped_client(session, name, trailer):
    """A copy of the client with `trailer` (with {base} for the server) as its addresses."""
    folder = os.path.join(session.build, "shell", "e2e")
    os.makedirs(folder, exist_ok=True)
    exe = os.path.join(folder, name)
    shutil.copyfile(os.path.join(session.build, "shell", "MicroClient.exe"), exe)
    text = trailer.format(base="http://127.0.0.1:%d" % port(session.build))
    subprocess.run([os.path.join(session.build, "host", "trailer"), "set", exe, text],
                   check=True, capture_output=True)
    return exe


def sections_end(data):
    """Where the section data of a PE image ends in its file: the trailer starts there."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, optional = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional
    return max(sum(struct.unpack_from("<II", data, table + 40 * i + 16)) for i in range(count))


def raw_trailer_client(session, name, text):
    """A copy of the client whose trailer is `text` as it stands, even where the
    trailer tool would refuse it (no "|")."""
    folder = os.path.join(session.build, "shell", "e2e")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(session.build, "shell", "MicroClient.exe"), "rb") as f:
        data = f.read()
    exe = os.path.join(folder, name)
    with open(exe, "wb") as f:
        f.write(data[:sections_end(data)] + text.encode("ascii") + b"\0" * 8)
    return exe


def requests(session, path_prefix):
    with open(os.path.join(session.build, "demo-server", "requests.log")) as f:
        return [line.strip() for line in f if line.startswith("GET " + path_prefix)]


def opened(session):
    path = os.path.join(session.build, "test-url-handler", "opened.log")
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip()]


class Probe:
    """WinProbe.exe: the windows as Win32 sees them, and messages to them."""

    def __init__(self, session):
        self.session = session
        self.exe = os.path.join(session.build, "tools", "win-probe", "WinProbe.exe")

    def run(self, *args):
        # A file, not a pipe: a Wine service started by the probe (explorer
        # comes and goes) would inherit a pipe and keep it open for ever.
        with tempfile.TemporaryFile() as out:
            subprocess.run([self.session.run, self.exe] + [str(a) for a in args], env=self.session.env,
                           stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=60)
            out.seek(0)
            return out.read().decode("utf-8", "replace")

    def windows(self, target, children=False):
        lines = self.run("list", target, *(["-c"] if children else [])).splitlines()
        found = []
        for line in lines:
            w = dict(re.findall(r"(\w+)=(\S*)", line.split(" title=")[0]))
            w["child"] = line.startswith(" ")
            w["title"] = line.split(" title=", 1)[1] if " title=" in line else ""
            found.append(w)
        return found

    def one(self, target):
        found = [w for w in self.windows(target) if not w["child"]]
        return found[0] if len(found) == 1 else None

    def post(self, target, msg, wparam=0, lparam=0):
        self.run("post", target, msg, wparam, lparam)

    def show(self, target, command):
        self.run("show", target, command)

    def text(self, target):
        return self.run("text", target).replace("\r", "").strip().splitlines()

    def tray_icons(self):
        return [w for w in self.windows("*", children=True) if w.get("class") == "__winex11_tray_icon"]


def state(probe, target, key):
    w = probe.one(target)
    return None if w is None else w.get(key)


def wait_state(probe, target, key, value, timeout=15):
    check(wait_until(lambda: state(probe, target, key) == value, timeout),
          "%s: %s is %s, expected %s" % (target, key, state(probe, target, key), value))


def client_size(probe, target):
    w = probe.one(target)
    return tuple(int(v) for v in w["client"].split(",")) if w else None


def play_window(session, probe, timeout=30):
    """The X window of the play frame, found by its current client size."""
    check(wait_until(lambda: probe.one(PLAY) is not None, timeout), "no play frame")
    size = client_size(probe, PLAY)
    return session.wait_window("Tarrowin", size=size, timeout=timeout), size


def click_button(session, probe, name):
    w, size = play_window(session, probe)
    x = size[0] - 27 * BUTTONS_FROM_RIGHT[name] - 14
    session.click(w, x, 14)
    time.sleep(0.5)


def title_text_pixels(session, probe):
    """Light pixels of the title label (text colour #FFFBF0) in the play frame's title bar."""
    w, _ = play_window(session, probe)
    out = subprocess.run("xwd -silent -id %d | /usr/bin/convert xwd:- -crop 290x28+32+2 +repage "
                         "-fill black -fuzz 12%% +opaque '#FFFBF0' -fill white -opaque '#FFFBF0' "
                         "-format '%%[fx:mean*w*h]' info:" % w,
                         shell=True, env=session.env, capture_output=True, text=True).stdout
    try:
        return int(float(out.strip()))
    except ValueError:
        return -1


def question_open(probe):
    return [w for w in probe.windows(QUESTION) if w.get("visible") == "1"]


def answer_question(probe, answer):
    check(wait_until(lambda: len(question_open(probe)) == 1, 15), "no exit question")
    check(EXIT_QUESTION in probe.text(QUESTION), "question text %r" % probe.text(QUESTION))
    probe.post(QUESTION, WM_COMMAND, answer, 0)
    check(wait_until(lambda: not question_open(probe), 10), "the question stayed open")


def login_frames(probe):
    return [w for w in probe.windows(LOGIN) if not w["child"] and int(w["style"], 16) & 0x10000 == 0]


ALREADY_RUNNING = "\u5fae\u7aef\u5df2\u7ecf\u8fd0\u884c\u4e86\u3002"


def start_client(session, probe, exe, started, extra_env=None):
    """Starts `exe`; while a client killed just before still holds the
    single-instance marker, the refusal is answered and the start repeated."""
    for _ in range(5):
        proc = session.start(exe, extra_env)
        if wait_until(lambda: started() or proc.poll() is not None or
                      ALREADY_RUNNING in probe.text(QUESTION), 60) and started():
            return proc
        if ALREADY_RUNNING in probe.text(QUESTION):
            probe.post(QUESTION, WM_COMMAND, 1, 0)
        try:
            proc.wait(10)
        except Exception:
            os.killpg(proc.pid, 9)
        time.sleep(2)
    raise AssertionError("the client did not start")


def logo_pixels(session, probe):
    """Gold pixels (the program icon's #C8A15A) where the title bar shows the logo (16 x 16 at 10,9)."""
    w, _ = play_window(session, probe)
    out = subprocess.run("xwd -silent -id %d | /usr/bin/convert xwd:- -crop 16x16+10+9 +repage "
                         "-fill black -fuzz 15%% +opaque '#C8A15A' -fill white -opaque '#C8A15A' "
                         "-format '%%[fx:mean*w*h]' info:" % w,
                         shell=True, env=session.env, capture_output=True, text=True).stdout
    try:
        return int(float(out.strip()))
    except ValueError:
        return -1
