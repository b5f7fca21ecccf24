#!/usr/bin/env bash
# The long soak runs inside one process each, with a table of before, after
# and budget per run:
#   bash scripts/soak.sh [SCENARIO|all] [ITERATIONS] [FRAME_ITERATIONS]
# Defaults: the gallery window built, shown, painted and destroyed 500 times;
# a combo pop-up, an edit's native window and a date-time picker opened and
# closed 500 times each; the web browser control (stand-in browser) navigating
# between two local pages 500 times; the client's login frame and play frame
# built and destroyed 100 times each.
#
# How the counters count under Wine (the first lines of the output say it
# again): GetGuiResources answers 0 there, so GDI objects are counted by
# probing every GDI handle slot with GetObjectType, and USER objects by
# enumerating the process's windows (top-level and message-only, with their
# descendants) and probing every USER handle slot with IsMenu and DrawIconEx
# (icons and cursors); private bytes are the committed private
# regions of a VirtualQuery walk, and the Linux process's RssAnon (read from
# /proc/self/status through drive Z:) shows Wine's own Unix-side memory too.
# A self-check makes and frees one brush, window, menu and icon first and
# refuses to run if the counts do not follow.
set -euo pipefail
source "$(dirname "$0")/common.sh"
scenario=${1:-all}
iterations=${2:-500}
frames=${3:-100}
tree=$root/build/$(test_arch)
[ -f "$tree/build.ninja" ] || bash "$root/scripts/build.sh"
cmake --build "$tree" --target soak_runner -- -j"$(nproc)"

share_wine_session "$tree"
trap stop_own_wine_session EXIT

# The frames and the browser scenario host the stand-in browser, as the client does.
bash "$root/scripts/register-standin-browser.sh" "$tree" >/dev/null
"$tree/wine-run" "$tree/tests/soak_runner.exe" --scenario "$scenario" --iterations "$iterations" \
  --frames "$frames" </dev/null
