"""A branded copy of the client starts with its new configuration: the login
frame and its web frame at the geometry the operator's document gives."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
from client import check, main, stop  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FRAME_SIZE = (900, 560)
WEB_OFFSET = (300, 100)  # the frame's own picture shows left of it
WEB_SIZE = (500, 360)


def test_branded_copy_opens_at_its_new_geometry(session):
    work = os.path.join(session.build, "shell", "branded")
    os.makedirs(work, exist_ok=True)
    with open(os.path.join(SOURCE, "resources", "config.xml"), encoding="utf-8") as f:
        config = f.read()
    config = config.replace('"1083,656"', '"%d,%d"' % FRAME_SIZE)
    config = config.replace('"322,169,962,618"', '"%d,%d,%d,%d"' % (
        WEB_OFFSET + (WEB_OFFSET[0] + WEB_SIZE[0], WEB_OFFSET[1] + WEB_SIZE[1])))
    config = config.replace('"Tarrowin"', '"BrandedClient"')
    config_path = os.path.join(work, "config.xml")
    with open(config_path, "w", encoding="utf-8") as f:
        f.write(config)
    with open(os.path.join(session.build, "demo-server", "port")) as f:
        port = f.read().strip()
    addresses = "http://127.0.0.1:%s/login.html|http://127.0.0.1:%s/service.html" % (port, port)
    branded = os.path.join(work, "MicroClient.exe")
    env = dict(os.environ, VENEER_TEST_ARCH=os.path.basename(os.path.normpath(session.build)))
    done = subprocess.run(["bash", os.path.join(SOURCE, "scripts", "brand.sh"),
                           os.path.join(session.build, "shell", "MicroClient.exe"), branded,
                           "--config", config_path, "--addresses", addresses],
                          env=env, capture_output=True, text=True, stdin=subprocess.DEVNULL)
    check(done.returncode == 0, "branding failed: %s%s" % (done.stdout, done.stderr))

    proc = session.start(branded)
    try:
        session.wait_painted("Tarrowin", FRAME_SIZE)
        frame = session.wait_window("Tarrowin", size=FRAME_SIZE)
        web = session.wait_window("VemoWindow", size=WEB_SIZE)
        fx, fy, _, _ = session.geometry(frame)
        wx, wy, _, _ = session.geometry(web)
        check((wx - fx, wy - fy) == WEB_OFFSET, "web frame at offset %s" % ((wx - fx, wy - fy),))
    finally:
        stop(proc, session)


if __name__ == "__main__":
    main([test_branded_copy_opens_at_its_new_geometry])
