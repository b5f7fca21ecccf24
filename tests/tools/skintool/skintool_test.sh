#!/usr/bin/env bash
# The skin tool under Wine: the shipped skin checks clean, the broken skin
# (folder and zip) gives exactly its expected findings, unreadable skins exit
# 2, and rendering matches a reference picture within a tolerance.
# usage: skintool_test.sh WORK_DIR WINE_RUN SKINTOOL.exe SOURCE_DIR
set -uo pipefail
work=$1; wine_run=$2; tool=$3; src=$4
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$wine_run" "$tool" "$@" </dev/null 2>"$work/stderr" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
broken=$src/tests/fixtures/skins/broken
expected=$(cat "$src/tests/tools/skintool/broken-expected.txt")

for file in login.xml loginWebWnd.xml playGameWindow.xml; do
  out=$(run check "Z:$src/resources/skin" "$file"); status=$?
  [ $status -eq 0 ] || fail "the shipped $file is not clean (exit $status): $out"
  grep -v ': note: ' <<<"$out" | grep -q . && fail "the shipped $file printed problems: $out"
done

out=$(run check "Z:$broken" main.xml); status=$?
[ $status -eq 1 ] || fail "the broken skin exited $status"
[ "$out" = "$expected" ] || fail "the broken skin's findings differ:"$'\n'"$(diff <(echo "$expected") <(echo "$out"))"

# The same skin as a zip archive: the same findings (the archive reader
# words a missing entry its own way).
(cd "$broken" && rm -f "$work/broken.zip" && zip -q -X "$work/broken.zip" ./*)
out=$(run check "Z:$work/broken.zip" main.xml); status=$?
[ $status -eq 1 ] || fail "the zipped broken skin exited $status"
expected=${expected/Error opening file/Could not find ziped file}
[ "$out" = "$expected" ] || fail "the zipped skin's findings differ:"$'\n'"$(diff <(echo "$expected") <(echo "$out"))"

# Skins that cannot be read at all.
printf 'not a zip' >"$work/notazip.zip"
for args in "Z:$work/no-such-folder main.xml" "Z:$broken nosuch.xml" "Z:$work/broken.zip nosuch.xml" \
            "Z:$work/notazip.zip main.xml"; do
  # shellcheck disable=SC2086
  run check $args >/dev/null; status=$?
  [ $status -eq 2 ] || fail "check $args exited $status, not 2"
  grep -q 'cannot read the skin' "$work/stderr" || fail "check $args did not say why: $(cat "$work/stderr")"
done
run bogus >/dev/null; [ $? -eq 2 ] || fail "a bad command line did not exit 2"

# Rendering: the play window at its own size, compared with the reference.
png=$work/play.png
run render "Z:$src/resources/skin" playGameWindow.xml "Z:$png" >/dev/null || fail "render failed: $(cat "$work/stderr")"
[ "$(/usr/bin/identify -format '%wx%h' "$png" 2>/dev/null)" = 637x523 ] || fail "the picture is not 637x523"
reference=$src/tests/tools/skintool/play-reference.png
differing=$(/usr/bin/compare -metric AE -fuzz 6% "$png" "$reference" null: 2>&1)
# Text and anti-aliasing may differ a little between systems.
[ "${differing%%.*}" -le 1500 ] 2>/dev/null || fail "the picture differs from the reference in $differing pixels"

# A hot and a pushed close button look different from the normal one, and only there.
run render "Z:$src/resources/skin" playGameWindow.xml "Z:$work/hot.png" --hot closebtn >/dev/null ||
  fail "render --hot failed: $(cat "$work/stderr")"
run render "Z:$src/resources/skin" playGameWindow.xml "Z:$work/pushed.png" --pushed closebtn >/dev/null ||
  fail "render --pushed failed: $(cat "$work/stderr")"
for state in hot pushed; do
  changed=$(/usr/bin/compare -metric AE "$png" "$work/$state.png" null: 2>&1)
  [ "${changed%%.*}" -gt 50 ] 2>/dev/null || fail "the $state close button looks normal ($changed pixels changed)"
  /usr/bin/convert "$png" -crop 500x523+0+0 +repage "$work/left-normal.png"
  /usr/bin/convert "$work/$state.png" -crop 500x523+0+0 +repage "$work/left-$state.png"
  outside=$(/usr/bin/compare -metric AE "$work/left-normal.png" "$work/left-$state.png" null: 2>&1)
  [ "${outside%%.*}" -eq 0 ] 2>/dev/null || fail "the $state state changed $outside pixels away from the button"
done
cmp -s "$work/hot.png" "$work/pushed.png" && fail "hot and pushed look the same"

run render "Z:$src/resources/skin" playGameWindow.xml "Z:$work/small.png" --size 300x200 >/dev/null ||
  fail "render --size failed"
[ "$(/usr/bin/identify -format '%wx%h' "$work/small.png" 2>/dev/null)" = 300x200 ] || fail "--size was not kept"
run render "Z:$src/resources/skin" playGameWindow.xml "Z:$work/x.png" --hot nosuchbutton >/dev/null &&
  fail "an unknown control name rendered"
grep -q "no control named 'nosuchbutton'" "$work/stderr" || fail "no clear message for an unknown control"
run render "Z:$src/resources/skin" login.xml "Z:$work/x.png" >/dev/null && fail "a window without size rendered"
grep -q -- '--size' "$work/stderr" || fail "no hint to give --size"

[ $failures -eq 0 ] && echo "all skin tool checks passed"
exit $((failures > 0))
