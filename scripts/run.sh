#!/usr/bin/env bash
# Runs the client: sets up, builds, and starts MicroClient.exe under Wine
# against the demo pages. The demo web server runs for the length of the
# run; the stand-in browser serves the web browser class in the tree's
# prefix, and a copy of the client carries the server's actual addresses in
# its trailer. With DISPLAY set the client opens there and runs until you
# leave it; without one it runs under this build tree's Xvfb, plays through
# the login and play stages, saves screenshots and closes it again.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/build.sh"
tree=$root/build/$(test_arch)

# Share the tree's Wine session when tests already run in it; otherwise start
# one for this run and stop it afterwards. The demo server goes in any case.
cleanup() {
  bash "$root/scripts/demo-server.sh" stop "$tree" || true
  if [ -n "${own_session:-}" ]; then bash "$root/scripts/wine-session.sh" down "$tree"; fi
}
if [ ! -f "$tree/wine/display" ]; then own_session=1; fi
trap cleanup EXIT
bash "$root/scripts/wine-session.sh" up "$tree"
bash "$root/scripts/register-standin-browser.sh" "$tree" >/dev/null
bash "$root/scripts/demo-server.sh" start "$tree"
port=$(bash "$root/scripts/demo-server.sh" port "$tree")

mkdir -p "$tree/shell/demo"
client=$tree/shell/demo/MicroClient.exe
cp "$tree/shell/MicroClient.exe" "$client"
"$tree/host/trailer" set "$client" "http://127.0.0.1:$port/login.html|http://127.0.0.1:$port/service.html" >/dev/null

echo "Configuration built into the client:"
"$tree/wine-run" "$tree/tools/configdump/configdump.exe" "Z:$root/resources/config.xml" </dev/null | tr -d '\r'
echo "Addresses stamped into the demo copy: $("$tree/host/trailer" print "$client")"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the client on $DISPLAY. Enter the game from the login page;"
  echo "leave it with the play frame's close button (or the login frame's before play)."
  VENEER_KEEP_DISPLAY=1 "$tree/wine-run" "$client" </dev/null
  exit 0
fi

shots=$root/build/screenshots
mkdir -p "$shots"
python3 "$root/tests/e2e/demo.py" "$tree" "$shots" "$client"
