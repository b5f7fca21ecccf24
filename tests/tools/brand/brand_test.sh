#!/usr/bin/env bash
# The branding script on the built client: a round trip (new configuration,
# skin and icon read back from the copy, trailer stamped, input unchanged),
# and each refused input leaving OUT.exe absent, or untouched when it existed.
# usage: brand_test.sh WORK_DIR BUILD_DIR SOURCE_DIR
set -uo pipefail
work=$1; build=$2; src=$3
rm -rf "$work"; mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
client=$build/shell/MicroClient.exe
trailer=$build/host/trailer
brand() { VENEER_TEST_ARCH=$(basename "$build") bash "$src/scripts/brand.sh" "$@" >"$work/out" 2>&1; }

cp "$client" "$work/in.exe"
sed -e 's/"Tarrowin"/"BrandedClient"/' -e 's/"1083,656"/"900,560"/' "$src/resources/config.xml" >"$work/config.xml"
/usr/bin/convert -size 32x32 xc:'#C03030' "$work/icon.ico" || fail "could not make a test icon"
mkdir -p "$work/skin" && cp "$src"/resources/skin/* "$work/skin/"

brand "$work/in.exe" "$work/branded.exe" --config "$work/config.xml" --skin "$work/skin" --icon "$work/icon.ico" \
  --addresses 'http://login.example/b|http://service.example/b' || fail "branding failed: $(cat "$work/out")"
cmp -s "$client" "$work/in.exe" || fail "the input was changed"
[ ! -e "$work/branded.exe.partial" ] || fail "a partial file was left behind"
mkdir -p "$work/dump"
"$build/wine-run" "$build/tools/brand/brand.exe" dump "Z:$work/branded.exe" "Z:$work/dump" </dev/null ||
  fail "the branded copy's resources cannot be read"
cmp -s "$work/config.xml" "$work/dump/config.xml" || fail "the configuration did not come back"
cmp -s "$work/icon.ico" "$work/dump/icon.ico" || fail "the icon did not come back"
# Listed to a file: under pipefail, grep -q leaving early would kill unzip with SIGPIPE.
unzip -l "$work/dump/skin.zip" >"$work/listing" 2>&1
grep -q playGameWindow.xml "$work/listing" || fail "the skin archive did not come back: $(cat "$work/listing")"
[ "$("$trailer" print "$work/branded.exe")" = 'http://login.example/b|http://service.example/b' ] ||
  fail "the addresses were not stamped"

# Without --addresses the input's own trailer is kept.
"$trailer" set "$work/in.exe" 'http://kept.example/|http://kept.example/s' >/dev/null
brand "$work/in.exe" "$work/kept.exe" --config "$work/config.xml" || fail "branding without addresses failed"
[ "$("$trailer" print "$work/kept.exe")" = 'http://kept.example/|http://kept.example/s' ] ||
  fail "the input's addresses were not kept"

# A signed input: the copy says plainly that its signature is gone, and signs again.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj /CN=throwaway-test-signer >/dev/null 2>&1 || fail "openssl could not make a certificate"
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$work/in.exe" -out "$work/signed.exe" >/dev/null ||
  fail "could not sign the input"
brand "$work/signed.exe" "$work/from-signed.exe" --config "$work/config.xml" || fail "branding a signed input failed"
grep -q "$work/from-signed.exe was signed; the signature was removed" "$work/out" ||
  fail "no plain warning about the removed signature: $(cat "$work/out")"
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$work/from-signed.exe" -out "$work/resigned.exe" \
  >/dev/null || fail "the branded copy of a signed input cannot be signed again"
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/resigned.exe" >/dev/null 2>&1 || fail "the re-signed copy does not verify"
[ "$("$trailer" print "$work/resigned.exe")" = 'http://kept.example/|http://kept.example/s' ] ||
  fail "the re-signed copy lost its addresses"

# Refused inputs: a message naming the problem, no OUT.exe, an old one untouched.
printf '<microClient>\n<loginFrameSize value="900,560" />\n<clientName value="x">\n</microClient>\n' >"$work/unparsed.xml"
printf '<microClient>\n<loginFrameSize value="900,five" />\n<clientName value="x" />\n</microClient>\n' >"$work/malformed.xml"
printf '<microClient>\n<loginFrameSise value="900,560" />\n<clientName value="x" />\n</microClient>\n' >"$work/misspelt.xml"
printf 'not an icon' >"$work/bad.ico"
mkdir -p "$work/typo-skin" && cp "$src"/resources/skin/* "$work/typo-skin/"
sed -i '0,/<Control width="2" \/>/s//<Contrl width="2" \/>/' "$work/typo-skin/playGameWindow.xml"
cases=(
  "--config $work/unparsed.xml|unparsed.xml:4: does not parse"
  "--config $work/malformed.xml|malformed.xml:2: attribute 'loginFrameSize': '900,five' is not a size"
  "--config $work/misspelt.xml|misspelt.xml:2: unknown key 'loginFrameSise'"
  "--icon $work/bad.ico|bad.ico: not an icon file"
  "--skin $src/tests/fixtures/skins/broken|skin: skintool: cannot read the skin: login.xml"
  "--skin $work/typo-skin|unknown element 'Contrl': skipped with its children (did you mean 'Control'?)"
  "--addresses no-separator|--addresses: the text has no"
)
for case in "${cases[@]}"; do
  options=${case%%|*}; expected=${case#*|}
  rm -f "$work/refused.exe"
  # shellcheck disable=SC2086
  if brand "$work/in.exe" "$work/refused.exe" $options; then fail "accepted $options"; fi
  grep -qF -- "$expected" "$work/out" || fail "$options: no '$expected' in: $(cat "$work/out")"
  [ ! -e "$work/refused.exe" ] || fail "$options: OUT.exe was written"
  cp "$work/kept.exe" "$work/existing.exe"
  # shellcheck disable=SC2086
  brand "$work/in.exe" "$work/existing.exe" $options && fail "accepted $options over an existing copy"
  cmp -s "$work/kept.exe" "$work/existing.exe" || fail "$options: an existing OUT.exe was changed"
done

[ $failures -eq 0 ] && echo "all branding checks passed"
exit $((failures > 0))
