"""Keys and close requests aimed at the login web frame: the page never closes
on its own; a close request ends the client as the login frame's close button does."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from client import check, main, stop, wait_exit, wait_until  # noqa: E402
from login_frame_test import CLOSE_BUTTON, open_client, web_follows  # noqa: E402
from play import WEB, WEB_VIEW, WM_CLOSE, Probe, login_frames  # noqa: E402

WM_KEYDOWN = 0x100
WM_SYSCOMMAND = 0x112
SC_CLOSE = 0xF060
VK_ESCAPE = 0x1B
HEADING = (320, 85)   # the login page's heading: text, not a link


def web_frames(probe):
    return [w for w in probe.windows(WEB) if not w["child"]]


def both_frames_up(probe):
    return ([w["visible"] for w in login_frames(probe)] == ["1"] and
            [w["visible"] for w in web_frames(probe)] == ["1"])


def test_escape_typed_and_posted_leaves_both_frames_working(session):
    probe = Probe(session)
    proc, frame, web = open_client(session)
    try:
        # Escape posted to the frame and to the page's view, then a real key
        # press into the page, which has the focus after a click.
        session.click(web, *HEADING)
        probe.post(WEB, WM_KEYDOWN, VK_ESCAPE, 1)
        probe.post(WEB_VIEW, WM_KEYDOWN, VK_ESCAPE, 1)
        session.x("xdotool", "key", "Escape")
        # A drag comes after the keys in the client's queue: once the frame has
        # moved, the keys have been handled.
        x, y, _, _ = session.geometry(frame)
        session.drag(frame, 100, 300, 40, 30)
        check(wait_until(lambda: session.geometry(frame)[:2] == (x + 40, y + 30)), "the login frame did not move")
        check(proc.poll() is None, "Escape ended the client")
        check(both_frames_up(probe), "frames after Escape: login %s, web %s" % (login_frames(probe), web_frames(probe)))
        # Still working: the page follows the frame, and the close button ends with 0.
        check(wait_until(lambda: web_follows(session, frame, web)), "the web frame did not follow")
        session.click(frame, *CLOSE_BUTTON)
        code = wait_exit(proc)
        check(code == 0, "close button: exit code %s" % code)
    finally:
        stop(proc, session)


def close_request_ends_client(session, message, wparam):
    probe = Probe(session)
    proc, _, _ = open_client(session)
    try:
        probe.post(WEB, message, wparam, 0)
        code = wait_exit(proc, timeout=20)
        check(code == 0, "exit code %s; frames: login %s, web %s" % (code, login_frames(probe), web_frames(probe)))
    finally:
        stop(proc, session)


def test_system_close_of_the_web_frame_ends_the_client(session):
    close_request_ends_client(session, WM_SYSCOMMAND, SC_CLOSE)


def test_wm_close_of_the_web_frame_ends_the_client(session):
    close_request_ends_client(session, WM_CLOSE, 0)


def test_alt_f4_in_the_page_ends_the_client(session):
    proc, _, web = open_client(session)
    try:
        session.click(web, *HEADING)
        time.sleep(0.3)
        session.x("xdotool", "key", "alt+F4")
        code = wait_exit(proc, timeout=20)
        check(code == 0, "Alt+F4: exit code %s" % code)
    finally:
        stop(proc, session)


ALL = [test_escape_typed_and_posted_leaves_both_frames_working, test_system_close_of_the_web_frame_ends_the_client,
       test_wm_close_of_the_web_frame_ends_the_client, test_alt_f4_in_the_page_ends_the_client]

if __name__ == "__main__":
    main([t for t in ALL if len(sys.argv) < 3 or t.__name__ in sys.argv[2:]])
