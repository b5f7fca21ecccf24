#!/usr/bin/env bash
# The trailer tool on real stripped executables.
# usage: trailer_tool_test.sh WORK_DIR "TOOL COMMAND" SAMPLE.exe...
set -uo pipefail
work=$1; tool=$2; shift 2
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The Windows build writes CR LF.
run() { $tool "$@" 2>"$work/stderr" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

[ $# -gt 0 ] || { echo "no sample executables"; exit 1; }
for sample in "$@"; do
  name=$(basename "$sample" .exe)
  exe=$work/$name.exe
  cp "$sample" "$exe"
  size=$(stat -c %s "$sample")

  out=$(run print "$exe") || fail "$name: print without a trailer failed"
  [ -z "$out" ] || fail "$name: a fresh executable printed '$out'"

  run set "$exe" 'http://login.example/a|http://service.example/b' >/dev/null || fail "$name: set failed: $(cat "$work/stderr")"
  out=$(run print "$exe")
  [ "$out" = 'http://login.example/a|http://service.example/b' ] || fail "$name: printed '$out' after set"
  cmp -s -n "$size" "$sample" "$exe" || fail "$name: set changed the bytes of the sections"
  new=$(stat -c %s "$exe")
  [ $((new % 8)) -eq 0 ] && [ "$new" -gt $((size + 46)) ] || fail "$name: unexpected size $new after set"

  # A shorter text replaces the longer one: nothing of it is left.
  run set "$exe" 'x|y' >/dev/null || fail "$name: replacing failed"
  [ "$(run print "$exe")" = 'x|y' ] || fail "$name: replacement not printed"
  [ "$(stat -c %s "$exe")" -eq $((size + 8)) ] || fail "$name: the old trailer was not removed"

  # A 300-byte tail without NUL: printed cut after 256 bytes, then replaced.
  cp "$sample" "$exe"
  head -c 300 /dev/zero | tr '\0' 'q' >>"$exe"
  out=$(run print "$exe")
  [ ${#out} -eq 256 ] || fail "$name: a 300-byte tail printed ${#out} bytes"
  run set "$exe" 'a|b' >/dev/null || fail "$name: could not replace a long tail"
  [ "$(run print "$exe")" = 'a|b' ] || fail "$name: long tail not replaced"

  cp "$exe" "$work/before"
  max=$(printf 'h%.0s' $(seq 253))
  run set "$exe" "$max|s" >/dev/null || fail "$name: a 255-byte text was refused"
  [ "$(run print "$exe")" = "$max|s" ] || fail "$name: the 255-byte text did not come back"
  cp "$work/before" "$exe"
  for bad in "${max}x|s" 'no separator' "$(printf 'caf\xc3\xa9|x')"; do
    if run set "$exe" "$bad" >/dev/null; then fail "$name: accepted '${bad:0:40}'"; fi
    grep -q 'refused' "$work/stderr" || fail "$name: no clear refusal for '${bad:0:40}'"
    cmp -s "$work/before" "$exe" || fail "$name: a refused text changed the file"
  done
done

# Files that are not executables, or are cut short, are refused without harm.
printf 'just text\n' >"$work/text.exe"
if run print "$work/text.exe" >/dev/null; then fail "a text file was read as an executable"; fi
head -c 700 "$1" >"$work/short.exe"
if run set "$work/short.exe" 'a|b' >/dev/null; then fail "a truncated executable was stamped"; fi
[ "$(stat -c %s "$work/short.exe")" -eq 700 ] || fail "a truncated executable was changed"
if run print "$work/missing.exe" >/dev/null; then fail "a missing file printed"; fi
if run bogus >/dev/null; then fail "a bad command line succeeded"; fi

[ $failures -eq 0 ] && echo "all trailer tool checks passed"
exit $((failures > 0))
