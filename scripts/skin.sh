#!/usr/bin/env bash
# The skin tool under the build tree's Wine:
#   skin.sh check SKIN ROOT.xml
#   skin.sh render SKIN FILE.xml OUT.png [--size WxH] [--hot NAME] [--pushed NAME]
# SKIN is a folder or a zip archive; file names inside it are given as the
# skin writes them. check exits 0 when clean, 1 with problems, 2 when the
# skin cannot be read.
set -euo pipefail
source "$(dirname "$0")/common.sh"
if [ $# -lt 3 ]; then
  sed -n '2,7s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi
tree=$root/build/$(test_arch)
if [ ! -f "$tree/build.ninja" ]; then bash "$root/scripts/build.sh" >&2; fi
cmake --build "$tree" --target skintool >/dev/null || { echo "skin.sh: building the skin tool failed" >&2; exit 2; }

windows_path() { echo "Z:$(realpath -m "$1")"; }
args=("$1" "$(windows_path "$2")" "$3")
if [ "$1" = render ]; then
  [ $# -ge 4 ] || { echo "render needs OUT.png" >&2; exit 2; }
  args+=("$(windows_path "$4")")
  shift 4
  args+=("$@")
else
  shift 3
  args+=("$@")
fi

# Windows need a display: the tree's own Xvfb session, started for this run
# when tests do not already keep one up.
trap stop_own_wine_session EXIT
share_wine_session "$tree"
errors=$(mktemp)
set +e
"$tree/wine-run" "$tree/tools/skintool/skintool.exe" "${args[@]}" </dev/null 2>"$errors" | tr -d '\r'
status=${PIPESTATUS[0]}
tr -d '\r' <"$errors" >&2
rm -f "$errors"
exit "$status"
