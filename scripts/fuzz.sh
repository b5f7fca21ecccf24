#!/usr/bin/env bash
# Runs the mutation loops under the guard heap for as long as asked:
#   bash scripts/fuzz.sh [TARGET|all] [ITERATIONS] [SEEDS]
# e.g. `bash scripts/fuzz.sh archive 200000 7,8,9`. Targets: markup, archive,
# image, value, richtext, config, trailer, skin. Every input that fails is
# kept under tests/fuzz/regressions/TARGET/ and replayed by every later run
# (CI's included): fix the fault, keep the file.
set -euo pipefail
source "$(dirname "$0")/common.sh"
target=${1:-all}
iterations=${2:-100000}
seeds=${3:-$RANDOM}
tree=$root/build/$(test_arch)
[ -f "$tree/build.ninja" ] || bash "$root/scripts/build.sh"
cmake --build "$tree" --target fuzz_runner -- -j"$(nproc)"

share_wine_session "$tree"
trap stop_own_wine_session EXIT

findings=$tree/fuzz-findings
rm -rf "$findings"
status=0
"$tree/wine-run" "$tree/tests/fuzz_runner.exe" --target "$target" --seeds "$seeds" \
  --iterations "$iterations" --save "Z:$findings" </dev/null || status=$?
# Keep what failed as regression fixtures, named after target, seed and iteration.
if [ -d "$findings" ]; then
  for file in "$findings"/*.bin; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    mkdir -p "$root/tests/fuzz/regressions/${name%%-*}"
    cp "$file" "$root/tests/fuzz/regressions/${name%%-*}/$name"
    echo "kept tests/fuzz/regressions/${name%%-*}/$name"
  done
fi
exit $status
