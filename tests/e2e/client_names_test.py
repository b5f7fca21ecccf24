"""Clients built with different client names do not see each other's single-instance marker."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from client import check, main, stop, wait_until  # noqa: E402
from login_frame_test import exe, open_client  # noqa: E402


def test_other_client_name_runs_side_by_side(session):
    first, _, _ = open_client(session)
    other = session.start(exe(session, "MicroClientOtherName.exe"))
    try:
        check(wait_until(lambda: len(session.windows("Tarrowin")) == 2, timeout=60),
              "a client with another name did not open its frame")
        check(not session.windows("\u63d0\u793a"), "a client with another name was refused")
    finally:
        stop(other)
        stop(first, session)


if __name__ == "__main__":
    main([test_other_client_name_runs_side_by_side])
