#!/usr/bin/env bash
# Runs the client: sets up, builds, and starts MicroClient.exe under Wine.
# With DISPLAY set it opens there and runs until you close it; without one it
# runs under this build tree's Xvfb, saves a screenshot of the login frame
# and closes it again.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/build.sh"
tree=$root/build/$(test_arch)
client=$tree/shell/MicroClient.exe

# Share the tree's Wine session when tests already run in it; otherwise start
# one for this run and stop it afterwards.
if [ ! -f "$tree/wine/display" ]; then
  trap 'bash "$root/scripts/wine-session.sh" down "$tree"' EXIT
fi
bash "$root/scripts/wine-session.sh" up "$tree"

echo "Configuration built into the client:"
"$tree/wine-run" "$tree/tools/configdump/configdump.exe" "Z:$root/resources/config.xml" </dev/null | tr -d '\r'

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the client on $DISPLAY; close it with its close button."
  VENEER_KEEP_DISPLAY=1 "$tree/wine-run" "$client" </dev/null
  exit 0
fi

shots=$root/build/screenshots
mkdir -p "$shots"
python3 "$root/tests/e2e/demo.py" "$tree" "$shots"
