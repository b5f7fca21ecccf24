"""The play stage: the login page in the web frame, play detection, the play
frame's buttons, the exit question and the tray icon, driven from outside."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from client import check, main, rgb, stop, wait_exit, wait_until  # noqa: E402
from login_frame_test import FRAME_SIZE, WEB_SIZE  # noqa: E402
import play  # noqa: E402
from play import (EXIT_GAME, IDNO, IDYES, LOGIN_ONLY, PLAY, SHOW_GAME, SW_HIDE, SW_RESTORE, SW_SHOW,  # noqa: E402
                  TRAY_CALLBACK, WEB, WEB_VIEW, WM_CLOSE, WM_COMMAND, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                  WM_LBUTTONUP, WM_RBUTTONDOWN, Probe, state, wait_state)

PAGE_BOX = (320, 100)      # inside the white box of login.html, web frame coordinates
PAGE_GREENS = ((20, 30), (620, 440))  # pure green: the band at the top and the body's corner
PAGE_GREEN = PAGE_GREENS[0]
PLAY_BUTTON = (320, 169)   # the page's "enter the game" link
GREEN = (0, 255, 0)
LOGIN_PICTURE = os.path.join(os.path.dirname(__file__), "..", "..", "resources", "skin", "loginBg.png")


def open_login(session, exe):
    probe = Probe(session)
    session.x("xdotool", "mousemove", "800", "860")
    proc = play.start_client(session, probe, exe, lambda: bool(play.login_frames(probe)))
    try:
        session.wait_painted("Tarrowin", FRAME_SIZE)
        web = session.wait_window("VemoWindow", size=WEB_SIZE)
        check(wait_until(lambda: session.pixel(web, *PAGE_BOX) == (255, 255, 255), 30),
              "the login page never showed in the web frame")
    except Exception:
        # What the screen and the window list looked like, for the report.
        session.screenshot(os.path.join(session.build, "e2e-play-failure.png"))
        with open(os.path.join(session.build, "e2e-play-failure.txt"), "w") as f:
            f.write(probe.run("list", "-c"))
        stop(proc, session)
        raise
    return proc


def picture_pixel(path, x, y):
    return rgb(subprocess.run(["/usr/bin/convert", path, "-format", "%%[pixel:p{%d,%d}]" % (x, y), "info:"],
                              capture_output=True, text=True).stdout)


def test_login_page_play_buttons_tray_and_exit(session):
    probe = Probe(session)
    exe = play.stamped_client(session, "PlayClient.exe", "{base}/login.html|{base}/service.html")
    # Icons of other programs of the session may come and go meanwhile.
    icons_before = [w["hwnd"] for w in probe.tray_icons()]
    proc = open_login(session, exe)
    try:
        # The page sits in the web frame, above the login frame, at the configured offset.
        web = session.wait_window("VemoWindow", size=WEB_SIZE)
        wx, wy, _, _ = session.geometry(web)
        check(session.screen_pixel(wx + PAGE_BOX[0], wy + PAGE_BOX[1]) == (255, 255, 255),
              "the page's white box is not on screen at the web frame's place")
        # Pure green is the colour key: the display shows the login frame's
        # picture there, and a drag started on it moves the login frame beneath.
        frame = session.wait_window("Tarrowin", size=FRAME_SIZE)
        fx, fy, _, _ = session.geometry(frame)
        for x, y in PAGE_GREENS:
            beneath = picture_pixel(LOGIN_PICTURE, wx - fx + x, wy - fy + y)
            check(beneath not in (None, GREEN), "the picture beneath is %s" % (beneath,))
            check(wait_until(lambda: session.screen_pixel(wx + x, wy + y) == beneath, 10),
                  "green at %s shows %s, not the picture's %s" % ((x, y), session.screen_pixel(wx + x, wy + y), beneath))
        session.drag(web, PAGE_GREEN[0], PAGE_GREEN[1], 20, 20)
        check(wait_until(lambda: session.geometry(frame)[:2] == (fx + 20, fy + 20)),
              "a drag on the green area did not move the login frame: %s" % (session.geometry(frame)[:2],))

        # Play: the web frame's navigation is cancelled, the play frame loads the game page.
        # The log lives as long as the server: count from here.
        earlier = len(play.requests(session, "/game.html"))
        web = session.wait_window("VemoWindow", size=WEB_SIZE)
        session.click(web, *PLAY_BUTTON)
        wait_state(probe, PLAY, "zoomed", "1", timeout=30)
        check([w["visible"] for w in play.login_frames(probe)] == ["0"], "login frame still visible")
        check(all(w["visible"] == "0" for w in probe.windows(WEB) if not w["child"]), "web frame still visible")
        check(wait_until(lambda: play.requests(session, "/game.html")[earlier:] == ["GET /game.html?client=pc"], 20),
              "game page requests: %s" % play.requests(session, "/game.html")[earlier:])
        time.sleep(1)
        check(len(play.requests(session, "/game.html")) == earlier + 1, "the game page was requested twice")
        check(play.client_size(probe, PLAY) == session.screen_size(), "maximised play frame %s" % (play.client_size(probe, PLAY),))

        # Another play navigation of the hidden page (a click posted to its
        # browser view) hides the login frame again and maximises the play
        # frame once more, without loading the game page again.
        probe.show(PLAY, SW_RESTORE)
        wait_state(probe, PLAY, "zoomed", "0")
        probe.show(LOGIN_ONLY, SW_SHOW)
        wait_state(probe, LOGIN_ONLY, "visible", "1")
        click = (PLAY_BUTTON[1] << 16) | PLAY_BUTTON[0]
        probe.post(WEB_VIEW, WM_LBUTTONDOWN, 1, click)
        probe.post(WEB_VIEW, WM_LBUTTONUP, 0, click)
        wait_state(probe, PLAY, "zoomed", "1")
        wait_state(probe, LOGIN_ONLY, "visible", "0")
        time.sleep(1)
        check(len(play.requests(session, "/game.html")) == earlier + 1,
              "a second play navigation loaded: %s" % play.requests(session, "/game.html")[earlier:])
        ours = [w["hwnd"] for w in probe.tray_icons() if w["hwnd"] not in icons_before]
        check(len(ours) == 1, "tray icons added: %s" % ours)
        check(wait_until(lambda: play.title_text_pixels(session, probe) > 20, 10),
              "no title text for a titled game page")
        check(play.logo_pixels(session, probe) > 5, "no logo in the title bar (%d gold pixels)" % play.logo_pixels(session, probe))

        # Refresh reloads the page from the server; the service button opens the service page outside.
        play.click_button(session, probe, "refreshbtn")
        check(wait_until(lambda: len(play.requests(session, "/game.html")) == earlier + 2, 15), "refresh did not reload")
        before = len(play.opened(session))
        play.click_button(session, probe, "kefubtn")
        check(wait_until(lambda: len(play.opened(session)) == before + 1, 15), "service page not opened")
        check(play.opened(session)[-1].endswith("/service.html"), "opened %s" % play.opened(session)[-1])

        # Restore and maximise swap; the restored client area is 1286 x 768.
        play.click_button(session, probe, "restorebtn")
        wait_state(probe, PLAY, "zoomed", "0")
        check(play.client_size(probe, PLAY) == play.RESTORED_CLIENT, "restored size %s" % (play.client_size(probe, PLAY),))
        play.click_button(session, probe, "maxbtn")
        wait_state(probe, PLAY, "zoomed", "1")

        # Minimised stays minimised for the tray's show item and click.
        play.click_button(session, probe, "minbtn")
        wait_state(probe, PLAY, "iconic", "1")
        probe.post(PLAY, WM_COMMAND, SHOW_GAME)
        probe.post(PLAY, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
        time.sleep(1)
        check(state(probe, PLAY, "iconic") == "1", "a minimised frame was restored by the tray")
        probe.show(PLAY, SW_RESTORE)
        wait_state(probe, PLAY, "iconic", "0")

        # A hidden frame comes back with a click, a double click or the show item.
        for message, wparam, lparam in ((TRAY_CALLBACK, 0, WM_LBUTTONDOWN), (TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK),
                                        (WM_COMMAND, SHOW_GAME, 0)):
            probe.show(PLAY, SW_HIDE)
            wait_state(probe, PLAY, "visible", "0")
            probe.post(PLAY, message, wparam, lparam)
            wait_state(probe, PLAY, "visible", "1")

        # A right click opens the two-item menu; its second item asks the question.
        session.x("xdotool", "mousemove", "200", "200")
        probe.post(PLAY, TRAY_CALLBACK, 0, WM_RBUTTONDOWN)
        check(wait_until(lambda: any(w["visible"] == "1" for w in probe.windows("*##32768")), 10), "no tray menu")
        menu = [w for w in probe.windows("*##32768") if w["visible"] == "1"][0]
        left, top, right, bottom = (int(v) for v in menu["rect"].split(","))
        check((left, top) == (200, 200) or abs(left - 200) < 5, "menu at %s, not at the cursor" % ((left, top),))
        session.x("xdotool", "mousemove", str((left + right) // 2), str(top + (bottom - top) * 3 // 4))
        time.sleep(0.3)
        session.x("xdotool", "click", "1")
        play.answer_question(probe, IDNO)
        check(proc.poll() is None and state(probe, PLAY, "visible") == "1", "No ended the client")

        # WM_CLOSE asks; a second close or the tray's exit item during the question asks nothing more.
        probe.post(PLAY, WM_CLOSE)
        check(wait_until(lambda: len(play.question_open(probe)) == 1, 10), "WM_CLOSE did not ask")
        probe.post(PLAY, WM_CLOSE)
        probe.post(PLAY, WM_COMMAND, EXIT_GAME)
        time.sleep(1)
        check(len(play.question_open(probe)) == 1, "a second question opened")
        play.answer_question(probe, IDNO)
        time.sleep(0.5)
        check(not play.question_open(probe) and proc.poll() is None, "No did not keep the client")

        # The close button asks, and Yes ends the client and removes the tray icon.
        play.click_button(session, probe, "closebtn")
        play.answer_question(probe, IDYES)
        code = wait_exit(proc)
        check(code == 0, "exit code %s" % code)
        check(wait_until(lambda: ours[0] not in [w["hwnd"] for w in probe.tray_icons()], 10), "tray icon left behind")
    finally:
        stop(proc, session)


def test_untitled_game_page_and_one_address(session):
    """A login address with the keyword starts play at once; the untitled page
    leaves the title empty; without a second address the service button does nothing."""
    probe = Probe(session)
    exe = play.stamped_client(session, "PlayNoTitle.exe", "{base}/game-notitle.html?client=pc|")
    earlier = len(play.requests(session, "/game-notitle.html"))
    icons_before = len(probe.tray_icons())
    proc = play.start_client(session, probe, exe, lambda: probe.one(PLAY) is not None)
    try:
        wait_state(probe, PLAY, "zoomed", "1", timeout=60)
        check(all(w["visible"] == "0" for w in probe.windows(WEB) if not w["child"]), "web frame still visible")
        check(wait_until(lambda: play.requests(session, "/game-notitle.html")[earlier:] == ["GET /game-notitle.html?client=pc"], 20),
              "requests: %s" % play.requests(session, "/game-notitle.html"))
        time.sleep(1)
        check(play.title_text_pixels(session, probe) == 0, "title text for an untitled page")
        before = play.opened(session)
        play.click_button(session, probe, "kefubtn")
        time.sleep(2)
        check(play.opened(session) == before, "service button opened %s" % play.opened(session)[len(before):])
        # A restarted shell has forgotten the icon and says so: the icon comes
        # back. Last, as Wine's stand-alone tray draws the new icon over the title bar.
        check(wait_until(lambda: len(probe.tray_icons()) == icons_before + 1, 10), "no tray icon")
        probe.run("untray", PLAY)
        check(wait_until(lambda: len(probe.tray_icons()) == icons_before, 10), "the icon was not removed")
        probe.post(PLAY, "TaskbarCreated", 0, 0)
        check(wait_until(lambda: len(probe.tray_icons()) == icons_before + 1, 10),
              "the icon did not come back after TaskbarCreated")
        # The tray's exit item asks too; Yes ends with 0.
        probe.post(PLAY, WM_COMMAND, EXIT_GAME)
        play.answer_question(probe, IDYES)
        check(wait_exit(proc) == 0, "exit code %s" % proc.poll())
    finally:
        stop(proc, session)


def test_keyword_in_other_case_does_not_play(session):
    probe = Probe(session)
    exe = play.stamped_client(session, "PlayCase.exe", "{base}/login.html?CLIENT=PC|{base}/service.html")
    earlier = len(play.requests(session, "/login.html?CLIENT=PC"))
    proc = open_login(session, exe)
    try:
        check(play.requests(session, "/login.html?CLIENT=PC")[earlier:] == ["GET /login.html?CLIENT=PC"],
              "requests: %s" % play.requests(session, "/login.html"))
        check(probe.one(PLAY) is None, "play started on CLIENT=PC")
        check(all(w["visible"] == "1" for w in probe.windows(WEB) if not w["child"]), "web frame hidden")
    finally:
        stop(proc, session)


ALL = [test_login_page_play_buttons_tray_and_exit, test_untitled_game_page_and_one_address,
       test_keyword_in_other_case_does_not_play]

if __name__ == "__main__":
    main([t for t in ALL if len(sys.argv) < 3 or t.__name__ in sys.argv[2:]])
