#!/usr/bin/env bash
# Builds the benchmarks of the test tree and runs every *_bench.exe under the
# tree's Wine, printing their figures. Extra arguments go to each benchmark.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/build.sh"
tree=$root/build/$(test_arch)
cmake --build "$tree" --target benchmarks

# Bring this tree's Wine session up only if it is not already running, and
# take down only what was started here.
started=
if [ ! -f "$tree/wine/display" ]; then
  bash "$root/scripts/wine-session.sh" up "$tree"
  started=1
fi
trap '[ -n "$started" ] && bash "$root/scripts/wine-session.sh" down "$tree"' EXIT

status=0
while IFS= read -r exe; do
  echo "== $(basename "$exe")"
  "$tree/wine-run" "$exe" "$@" </dev/null || status=1
done < <(find "$tree/bench" -maxdepth 1 -name '*_bench.exe' | sort)
exit $status
