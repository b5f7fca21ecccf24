#!/usr/bin/env bash
# The config dump under Wine: the shipped configuration from its resource and
# from the document file, and an address trailer stamped by the host tool.
# usage: configdump_test.sh WORK_DIR WINE_RUN CONFIGDUMP.exe HOST_TRAILER_TOOL SHIPPED_CONFIG
set -uo pipefail
work=$1; wine_run=$2; dump=$3; tool=$4; shipped=$5
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$wine_run" "$@" 2>/dev/null </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
expect_line() { grep -qxF -- "$2" <<<"$1" || fail "missing line '$2' in:"$'\n'"$1"; }

cp "$dump" "$work/client.exe"
for source in "" "Z:$shipped"; do
  out=$(run "$work/client.exe" ${source:+"$source"}) || fail "reading '${source:-resource}' failed: $out"
  expect_line "$out" "  loginFrameSize   1083,656"
  expect_line "$out" "  loginWebRect     322,169,962,618"
  expect_line "$out" "  miniRect         897,138,919,161"
  expect_line "$out" "  closeRect        927,131,955,161"
  expect_line "$out" "  playGamekeyWord  client=pc"
  expect_line "$out" "  clientName       Tarrowin"
  grep -q '^address trailer: none' <<<"$out" || fail "an unstamped executable reported a trailer"
done

"$tool" set "$work/client.exe" 'http://login.example/a|http://service.example/b' || fail "stamping failed"
out=$(run "$work/client.exe")
expect_line "$out" "  login page       http://login.example/a"
expect_line "$out" "  customer service http://service.example/b"

"$tool" set "$work/client.exe" '|http://service.example/b' || fail "stamping failed"
out=$(run "$work/client.exe")
expect_line "$out" "  login page       http://service.example/b"
expect_line "$out" "  customer service (none)"

printf '<microClient><clientName value="x" /></wrong>' >"$work/broken.xml"
if out=$(run "$work/client.exe" "Z:$work/broken.xml"); then fail "a broken document was reported as read"; fi
grep -q '^could not read .*Unmatched closing tag' <<<"$out" || fail "no parse error shown: $out"
expect_line "$out" "  loginFrameSize   0,0"

[ $failures -eq 0 ] && echo "all config dump checks passed"
exit $((failures > 0))
