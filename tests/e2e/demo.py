"""Headless demo: starts the client under the tree's Xvfb, saves screenshots, closes it."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from client import Session, stop, wait_exit  # noqa: E402
import login_frame_test as login  # noqa: E402


def demo(build, shots):
    session = Session(build)
    proc, frame, _ = login.open_client(session)
    try:
        path = os.path.join(shots, "login.png")
        session.screenshot(path)
        print("Screenshot of the login frame: %s" % path)
        session.click(frame, *login.CLOSE_BUTTON)
        code = wait_exit(proc)
        print("The client closed with exit code %s." % code)
        return code
    finally:
        stop(proc, session)


if __name__ == "__main__":
    sys.exit(demo(sys.argv[1], sys.argv[2]) or 0)
