"""The login frame: geometry, dragging, buttons, Escape, single instance."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from client import check, main, stop, wait_exit, wait_until  # noqa: E402
from play import ALREADY_RUNNING, QUESTION, WM_COMMAND, Probe, login_frames, question_open  # noqa: E402

IDOK = 1

WEB_OFFSET = (322, 169)
WEB_SIZE = (640, 449)
FRAME_SIZE = (1083, 656)
CLOSE_BUTTON = (941, 146)   # middle of the configured close rectangle
MIN_BUTTON = (908, 149)


def exe(session, name="MicroClient.exe"):
    return os.path.join(session.build, "shell", name)


def open_client(session, name="MicroClient.exe"):
    proc = session.start(exe(session, name))
    try:
        # Wine may replace a window's X window while it sets up layering:
        # take the ids once the frame has painted.
        session.wait_painted("Tarrowin", FRAME_SIZE)
        frame = session.wait_window("Tarrowin", size=FRAME_SIZE)
        web = session.wait_window("VemoWindow", size=WEB_SIZE)
    except Exception:
        stop(proc, session)
        raise
    return proc, frame, web


def web_follows(session, frame, web):
    fx, fy, _, _ = session.geometry(frame)
    wx, wy, ww, wh = session.geometry(web)
    return (wx - fx, wy - fy, ww, wh) == WEB_OFFSET + WEB_SIZE


def test_frame_geometry_drag_escape_and_close(session):
    proc, frame, web = open_client(session)
    try:
        x, y, w, h = session.geometry(frame)
        sw, sh = session.screen_size()
        check((w, h) == FRAME_SIZE, "client size %s" % ((w, h),))
        check(abs(x - (sw - w) // 2) <= 1 and abs(y - (sh - h) // 2) <= 1,
              "frame at %s is not centred on %s" % ((x, y), (sw, sh)))
        check(wait_until(lambda: web_follows(session, frame, web)),
              "web frame at %s, frame at %s" % (session.geometry(web), session.geometry(frame)))

        session.drag(frame, 100, 300, 60, 40)
        moved = session.geometry(frame)
        check(moved[:2] == (x + 60, y + 40), "dragged frame at %s, expected %s" % (moved[:2], (x + 60, y + 40)))
        check(wait_until(lambda: web_follows(session, frame, web)),
              "web frame at %s after the drag, frame at %s" % (session.geometry(web), moved))

        session.key(frame, "Escape")
        time.sleep(1)
        check(proc.poll() is None and session.mapped(frame), "Escape closed the login frame")

        session.click(frame, *CLOSE_BUTTON)
        code = wait_exit(proc)
        check(code == 0, "close button: exit code %s" % code)
    finally:
        stop(proc, session)


def test_minimise_button(session):
    proc, frame, web = open_client(session)
    try:
        session.click(frame, *MIN_BUTTON)
        # Without a window manager Wine shows a minimised window as a small bar.
        check(wait_until(lambda: (session.geometry(frame) or (0, 0, 0, 0))[2:] != FRAME_SIZE),
              "minbtn left the frame at full size")
        check(wait_until(lambda: not session.windows("VemoWindow")),
              "the web frame stayed up after minimising")
        check(proc.poll() is None, "minimising ended the client")
    finally:
        stop(proc, session)


def test_second_start_is_refused(session):
    first, frame, _ = open_client(session)
    try:
        second = session.start(exe(session))
        box = session.wait_window("\u63d0\u793a", timeout=60)   # "提示"
        check(len(session.windows("Tarrowin")) == 1, "the second copy created a window")
        # Answered with its OK command, not a key: a Return typed into the
        # session can outlive this box and press the next client's focused
        # minimise button.
        Probe(session).post(QUESTION, WM_COMMAND, IDOK)
        code = wait_exit(second)
        check(code == 0, "second copy exit code %s" % code)
        check(first.poll() is None, "the first copy ended")
    finally:
        stop(first, session)


def ok_button_centre(probe):
    """Screen point of the "already running" box's OK button, from Win32's own rectangle."""
    buttons = [w for w in probe.windows(QUESTION, children=True) if w["child"] and w["class"] == "Button"]
    check(len(buttons) == 1, "buttons of the box: %s" % buttons)
    left, top, right, bottom = (int(v) for v in buttons[0]["rect"].split(","))
    return (left + right) // 2, (top + bottom) // 2


def test_second_copy_started_at_once_can_be_answered_by_a_click(session):
    """The first copy's start-up keeps its page above its own frame only: the
    second copy's box stays on top, and a real click on its OK button reaches it."""
    probe = Probe(session)
    first = session.start(exe(session))
    second = None
    try:
        time.sleep(1)
        second = session.start(exe(session))
        check(wait_until(lambda: len(question_open(probe)) == 1, 60), "no box from the second copy")
        check(ALREADY_RUNNING in probe.text(QUESTION), "box text %r" % probe.text(QUESTION))
        session.wait_painted("Tarrowin", FRAME_SIZE)
        session.wait_window("VemoWindow", size=WEB_SIZE)
        # The first copy lifts its page for about two seconds after its first paint.
        time.sleep(2.5)
        x, y = ok_button_centre(probe)
        session.x("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.2)
        session.x("xdotool", "click", "1")
        code = wait_exit(second, timeout=15)
        check(code == 0, "the clicked box did not end the second copy (exit %s)" % code)
        check(first.poll() is None, "the first copy ended")
        check([w["visible"] for w in login_frames(probe)] == ["1"], "login frames %s" % login_frames(probe))
    finally:
        if second is not None:
            if second.poll() is None and question_open(probe):
                probe.post(QUESTION, WM_COMMAND, IDOK)
            stop(second)
        stop(first, session)


def test_two_copies_started_together_give_one_frame_and_one_box(session):
    probe = Probe(session)
    copies = [session.start(exe(session)), session.start(exe(session))]
    try:
        check(wait_until(lambda: len(question_open(probe)) == 1 and len(login_frames(probe)) == 1, 60),
              "boxes %s, login frames %s" % (question_open(probe), login_frames(probe)))
        check(ALREADY_RUNNING in probe.text(QUESTION), "box text %r" % probe.text(QUESTION))
        probe.post(QUESTION, WM_COMMAND, IDOK)
        check(wait_until(lambda: any(c.poll() is not None for c in copies), 15), "the refused copy did not end")
        refused = [c for c in copies if c.poll() is not None]
        check(len(refused) == 1 and refused[0].returncode == 0,
              "exit codes %s" % [c.poll() for c in copies])
        check(len(login_frames(probe)) == 1 and not question_open(probe), "after the answer: frames %s, boxes %s"
              % (login_frames(probe), question_open(probe)))
    finally:
        for c in copies:
            stop(c)
        stop(copies[0], session)


ALL = [test_frame_geometry_drag_escape_and_close, test_minimise_button,
       test_second_start_is_refused, test_second_copy_started_at_once_can_be_answered_by_a_click,
       test_two_copies_started_together_give_one_frame_and_one_box]

if __name__ == "__main__":
    main([t for t in ALL if len(sys.argv) < 3 or t.__name__ in sys.argv[2:]])
