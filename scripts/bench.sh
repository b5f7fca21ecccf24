#!/usr/bin/env bash
# Builds the benchmarks of the test tree, runs every *_bench.exe under the
# tree's Wine (the start-up probe against the real client and a bare window
# program), and prints one table: each figure, its floor measured in the same
# run, the ratio and the budget. Each benchmark's own lines go to
# build/<arch>/bench/bench.log. Extra arguments go to each benchmark.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/setup.sh"
# Only what the table needs: the 32-bit product (its size) and the test
# tree's benchmarks, client and stand-in browser.
product=$(configure_tree i686 ON)
cmake --build "$product" --target MicroClient -- -j"$(nproc)"
arch=$(test_arch)
tree=$(configure_tree "$arch" ON)
cmake --build "$tree" --target benchmarks standin_browser trailer_host -- -j"$(nproc)"

share_wine_session "$tree"
server_started=
cleanup() {
  if [ -n "$server_started" ]; then bash "$root/scripts/demo-server.sh" stop "$tree" >/dev/null 2>&1 || true; fi
  stop_own_wine_session
}
trap cleanup EXIT
# The client creates the platform browser: the tree's stand-in answers.
bash "$root/scripts/register-standin-browser.sh" "$tree" >/dev/null
# The play frame's idle figure: a copy whose login address holds the play
# keyword goes straight to the demo game page.
[ -s "$tree/demo-server/port" ] || server_started=1
bash "$root/scripts/demo-server.sh" start "$tree" >/dev/null
port=$(cat "$tree/demo-server/port")
playing=$tree/bench/MicroClientPlaying.exe
cp "$tree/shell/MicroClient.exe" "$playing"
"$tree/host/trailer" set "$playing" \
  "http://127.0.0.1:$port/game.html?client=pc|http://127.0.0.1:$port/service.html" >/dev/null

log=$tree/bench/bench.log
rows=$tree/bench/rows.tsv
: >"$log"
: >"$rows"
status=0
while IFS= read -r exe; do
  name=$(basename "$exe")
  args=("$@")
  if [ "$name" = Startup_bench.exe ]; then
    args=("Z:$tree/shell/MicroClient.exe" "Z:$tree/bench/BareWindow.exe" "Z:$playing")
  fi
  echo "== $name" >>"$log"
  if ! "$tree/wine-run" "$exe" "${args[@]}" </dev/null >"$tree/bench/$name.out" 2>&1; then
    echo "$name failed" >&2
    status=1
  fi
  grep -v '^ROW' "$tree/bench/$name.out" >>"$log" || true
  grep '^ROW' "$tree/bench/$name.out" | cut -f2- >>"$rows" || true
done < <(find "$tree/bench" -maxdepth 1 -name '*_bench.exe' | sort)

size=$(stat -c %s "$root/build/i686/shell/MicroClient.exe")
budget=$(sed -n 's/^set(MICROCLIENT_SIZE_BUDGET \([0-9]*\))/\1/p' "$root/cmake/SizeBudget.cmake")

echo "Benchmarks: $arch tree under $( [ "$arch" = i686 ] && echo 32-bit || echo 64-bit ) Wine, $(nproc) cores," \
  "$(date -u +%Y-%m-%d); medians; each floor measured in the same run."
{
  printf 'what\tnow\tfloor (same run)\tratio\tbudget\tmet\n'
  awk -F'\t' -v size="$size" -v budget="$budget" 'BEGIN {
      printf "MicroClient.exe (i686, stripped, all resources)\t%d bytes\t-\t-\t<= %d bytes\t%s\n",
        size, budget, (size <= budget ? "yes" : "NO")
    }
    {
      what = $1; value = $2; unit = $3; floorName = $4; floor = $5; budget = $6
      ratio = (floor > 0 ? value / floor : 0)
      met = "-"
      if (budget ~ /^x<=/) { limit = substr(budget, 4) + 0; met = (floor > 0 && ratio <= limit) ? "yes" : "NO" }
      else if (budget ~ /^<=/) { limit = substr(budget, 3) + 0; met = (value <= limit) ? "yes" : "NO" }
      floorText = (floorName == "" ? "-" : sprintf("%s %.3f %s", floorName, floor, unit))
      ratioText = (floor > 0 ? sprintf("%.2fx", ratio) : "-")
      printf "%s\t%.3f %s\t%s\t%s\t%s\t%s\n", what, value, unit, floorText, ratioText, budget, met
    }' "$rows"
} | column -t -s $'\t'
exit $status
