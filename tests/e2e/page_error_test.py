"""Pages that cannot be loaded: the client tells the user in its own notice
and offers a retry, for the login page and for the game page."""
import os
import socket
import subprocess
import sys
import time
import uuid

sys.path.insert(0, os.path.dirname(__file__))
from client import check, main, stop, wait_exit, wait_until  # noqa: E402
from login_frame_test import CLOSE_BUTTON, FRAME_SIZE, WEB_SIZE, web_follows  # noqa: E402
import play  # noqa: E402
from play import LOGIN_ONLY, PLAY, WEB, WEB_VIEW, Probe, login_frames  # noqa: E402

# The login notice fills the web frame; its retry button sits in the middle.
RETRY_BUTTON = (320, 266)
GOLD = "#C8A15A"            # the retry button
NOTICE_TEXT = "#FFFBF0"     # the notices' first line
PLAY_VIEW = PLAY + "/Internet Explorer_Server"


def closed_port():
    """A local port nobody listens on: connections to it are refused."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def colour_pixels(session, window, box, colour, fuzz=12):
    """Pixels of about `colour` in box (x, y, w, h) of the window's client area, as the display shows them."""
    wx, wy, _, _ = session.geometry(window)
    x, y, w, h = box
    out = subprocess.run("%s | /usr/bin/convert xwd:- -crop %dx%d+%d+%d +repage -fill black -fuzz %d%% "
                         "+opaque '%s' -fill white -opaque '%s' -format '%%[fx:mean*w*h]' info:"
                         % (session.screen_capture(), w, h, wx + x, wy + y, fuzz, colour, colour),
                         shell=True, env=session.env, capture_output=True, text=True).stdout
    try:
        return int(float(out.strip()))
    except ValueError:
        return -1


def retry_button_pixels(session, web):
    return colour_pixels(session, web, (RETRY_BUTTON[0] - 50, RETRY_BUTTON[1] - 10, 100, 20), GOLD)


def web_frame_visible(probe):
    return [w["visible"] for w in probe.windows(WEB) if not w["child"]] == ["1"]


def page_view_visible(probe):
    return play.state(probe, WEB_VIEW, "visible") == "1"


def start_login(session, trailer, name, extra_env=None, stamp=play.stamped_client):
    probe = Probe(session)
    exe = stamp(session, name, trailer)
    session.x("xdotool", "mousemove", "800", "860")
    proc = play.start_client(session, probe, exe, lambda: bool(login_frames(probe)), extra_env)
    try:
        session.wait_painted("Tarrowin", FRAME_SIZE)
        frame = session.wait_window("Tarrowin", size=FRAME_SIZE)
        web = session.wait_window("VemoWindow", size=WEB_SIZE)
    except Exception:
        stop(proc, session)
        raise
    return probe, proc, frame, web


def login_notice_shown(session, probe, web):
    return web_frame_visible(probe) and not page_view_visible(probe) and retry_button_pixels(session, web) > 300


def test_refused_login_page_shows_the_notice_in_a_movable_closable_frame(session):
    probe, proc, frame, web = start_login(session, "http://127.0.0.1:%d/login.html|{base}/service.html" % closed_port(),
                                          "RefusedLogin.exe")
    try:
        check(wait_until(lambda: login_notice_shown(session, probe, web), 30),
              "no notice: page view visible %s, retry pixels %d" % (page_view_visible(probe),
                                                                  retry_button_pixels(session, web)))
        check(colour_pixels(session, web, (0, 0, WEB_SIZE[0], WEB_SIZE[1] // 2), NOTICE_TEXT, fuzz=3) > 50,
              "the notice has no text")
        # A retry fails again and shows the notice again.
        session.click(web, *RETRY_BUTTON)
        check(wait_until(lambda: login_notice_shown(session, probe, web), 30), "no notice after the retry")
        # Dragging the notice moves the login frame, and the notice goes with it.
        for window in (web, frame):
            x, y, _, _ = session.geometry(frame)
            session.drag(window, 100, 40, 50, 20)
            check(wait_until(lambda: session.geometry(frame)[:2] == (x + 50, y + 20)),
                  "the frame did not move: %s, was %s" % (session.geometry(frame)[:2], (x, y)))
            check(wait_until(lambda: web_follows(session, frame, web)), "the notice did not follow the frame")
        check(login_notice_shown(session, probe, web), "the notice went away")
        session.click(frame, *CLOSE_BUTTON)
        check(wait_exit(proc) == 0, "close button: exit code %s" % proc.poll())
    finally:
        stop(proc, session)


def test_missing_login_page_notice_retry_loads_it(session):
    address = "/fails-once/login.html?run=%s" % uuid.uuid4().hex
    probe, proc, frame, web = start_login(session, "{base}%s|{base}/service.html" % address, "MissingLogin.exe")
    try:
        check(wait_until(lambda: login_notice_shown(session, probe, web), 30), "no notice for a 404")
        session.click(web, *RETRY_BUTTON)
        check(wait_until(lambda: play.requests(session, address) == ["GET " + address] * 2, 15),
              "requests: %s" % play.requests(session, address))
        check(wait_until(lambda: page_view_visible(probe), 15), "the page did not come back")
        check(wait_until(lambda: session.pixel(web, 320, 100) == (255, 255, 255), 15), "the login page did not show")
        check(proc.poll() is None, "the client ended")
    finally:
        stop(proc, session)


def test_timed_out_login_page_shows_the_notice(session):
    probe, proc, frame, web = start_login(session, "{base}/slow?ms=6000|{base}/service.html", "SlowLogin.exe",
                                          {"STANDIN_BROWSER_TIMEOUT_MS": "1500"})
    try:
        check(wait_until(lambda: login_notice_shown(session, probe, web), 30), "no notice for a timed-out page")
    finally:
        stop(proc, session)


def test_trailer_without_separator_keeps_an_empty_web_frame(session):
    address = "/status/404?run=%s" % uuid.uuid4().hex
    trailer = "http://127.0.0.1:%d%s" % (play.port(session.build), address)
    probe, proc, frame, web = start_login(session, trailer, "NoSeparator.exe", stamp=play.raw_trailer_client)
    try:
        check(wait_until(lambda: web_frame_visible(probe), 15), "the web frame is not shown")
        time.sleep(2)  # the page would have been asked for, and refused, by now
        check(play.requests(session, address) == [], "the address was loaded: %s" % play.requests(session, address))
        check(retry_button_pixels(session, web) == 0, "a notice for a trailer without '|'")
        check(proc.poll() is None, "the client ended")
    finally:
        stop(proc, session)


def play_notice_text(session, probe):
    w, size = play.play_window(session, probe)
    return colour_pixels(session, w, (0, 32, size[0], size[1] - 32), NOTICE_TEXT, fuzz=3)


def test_missing_game_page_notice_and_refresh_loads_it(session):
    address = "/fails-once/game.html?client=pc&run=%s" % uuid.uuid4().hex
    probe = Probe(session)
    exe = play.stamped_client(session, "MissingGame.exe", "{base}%s|" % address)
    proc = play.start_client(session, probe, exe, lambda: probe.one(PLAY) is not None)
    try:
        play.wait_state(probe, PLAY, "zoomed", "1", timeout=60)
        check(wait_until(lambda: play.state(probe, PLAY_VIEW, "visible") == "0" and
                         play_notice_text(session, probe) > 50, 30),
              "no notice: page view visible %s, text pixels %d" % (play.state(probe, PLAY_VIEW, "visible"),
                                                                  play_notice_text(session, probe)))
        check(play.state(probe, LOGIN_ONLY, "visible") == "0", "the login frame came back")
        play.click_button(session, probe, "refreshbtn")
        check(wait_until(lambda: play.requests(session, address) == ["GET " + address] * 2, 15),
              "requests: %s" % play.requests(session, address))
        play.wait_state(probe, PLAY_VIEW, "visible", "1")
        check(wait_until(lambda: play.title_text_pixels(session, probe) > 20, 15), "the game page did not load")
        check(play_notice_text(session, probe) == 0, "the notice stayed")
    finally:
        stop(proc, session)


def test_refused_game_page_shows_the_notice(session):
    probe = Probe(session)
    exe = play.stamped_client(session, "RefusedGame.exe", "http://127.0.0.1:%d/game.html?client=pc|" % closed_port())
    proc = play.start_client(session, probe, exe, lambda: probe.one(PLAY) is not None)
    try:
        check(wait_until(lambda: play.state(probe, PLAY_VIEW, "visible") == "0" and
                         play_notice_text(session, probe) > 50, 30), "no notice for a refused game page")
        # Its retry is the refresh button: refused again, the notice stays.
        play.click_button(session, probe, "refreshbtn")
        check(wait_until(lambda: play.state(probe, PLAY_VIEW, "visible") == "0" and
                         play_notice_text(session, probe) > 50, 30), "no notice after the refresh")
        check(proc.poll() is None, "the client ended")
    finally:
        stop(proc, session)


ALL = [test_refused_login_page_shows_the_notice_in_a_movable_closable_frame, test_missing_login_page_notice_retry_loads_it,
       test_timed_out_login_page_shows_the_notice, test_trailer_without_separator_keeps_an_empty_web_frame,
       test_missing_game_page_notice_and_refresh_loads_it, test_refused_game_page_shows_the_notice]

if __name__ == "__main__":
    main([t for t in ALL if len(sys.argv) < 3 or t.__name__ in sys.argv[2:]])
