"""Headless demo: starts the client under the tree's Xvfb, enters the game,
saves screenshots of both stages, and leaves through the exit question."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from client import Session, stop, wait_exit  # noqa: E402
import play  # noqa: E402
from play_frame_test import PLAY_BUTTON, open_login  # noqa: E402


def demo(build, shots, exe):
    session = Session(build)
    probe = play.Probe(session)
    proc = open_login(session, exe)
    try:
        path = os.path.join(shots, "login.png")
        session.screenshot(path)
        print("Screenshot of the login stage: %s" % path)
        web = session.wait_window("VemoWindow")
        session.click(web, *PLAY_BUTTON)
        play.wait_state(probe, play.PLAY, "zoomed", "1", timeout=30)
        session.wait_painted("Tarrowin", play.client_size(probe, play.PLAY))
        path = os.path.join(shots, "play.png")
        session.screenshot(path)
        print("Screenshot of the play stage: %s" % path)
        play.click_button(session, probe, "closebtn")
        play.answer_question(probe, play.IDYES)
        code = wait_exit(proc)
        print("The client closed with exit code %s." % code)
        return code
    finally:
        stop(proc, session)


if __name__ == "__main__":
    sys.exit(demo(sys.argv[1], sys.argv[2], sys.argv[3]) or 0)
