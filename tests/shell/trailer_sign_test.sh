#!/usr/bin/env bash
# Stamped copies and signatures, with Debian's osslsigncode and a throwaway
# certificate: stamp then sign keeps the trailer readable; stamping a signed
# copy removes the signature cleanly, says so, and the result signs again.
# usage: trailer_sign_test.sh WORK_DIR HOST_TRAILER_TOOL SAMPLE.exe...
set -uo pipefail
work=$1; tool=$2; shift 2
# A fresh folder: the signing tool will not write over an earlier run's output.
rm -rf "$work"; mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
command -v osslsigncode >/dev/null || { echo "osslsigncode is missing (scripts/setup.sh installs it)"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj /CN=throwaway-test-signer >/dev/null 2>&1 || { echo "openssl could not make a certificate"; exit 1; }
sign() { osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$1" -out "$2" >/dev/null 2>&1; }
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1; }
# The certificate table entry (data directory 4) of an image: "offset size".
security_entry() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
pe = struct.unpack_from('<I', data, 0x3C)[0]
magic = struct.unpack_from('<H', data, pe + 24)[0]
entry = pe + 24 + (96 if magic == 0x10B else 112) + 4 * 8
print(*struct.unpack_from('<II', data, entry))
PY
}

for sample in "$@"; do
  name=$(basename "$sample" .exe)
  exe=$work/$name.exe
  cp "$sample" "$exe"
  "$tool" set "$exe" 'http://login.example/a|http://service.example/b' || fail "$name: stamping failed"
  sign "$exe" "$work/$name-signed.exe" || fail "$name: signing the stamped copy failed"
  verify "$work/$name-signed.exe" || fail "$name: the signed copy does not verify: $(tail -3 "$work/verify.txt")"
  [ "$("$tool" print "$work/$name-signed.exe")" = 'http://login.example/a|http://service.example/b' ] ||
    fail "$name: the trailer of the signed copy does not read back"

  # Stamping the signed copy: a warning, no signature, no dangling directory.
  signed=$work/$name-signed.exe
  "$tool" set "$signed" 'http://other.example/x|http://other.example/y' 2>"$work/stderr" ||
    fail "$name: re-stamping a signed copy failed: $(cat "$work/stderr")"
  grep -q 'signature was removed' "$work/stderr" || fail "$name: no warning about the removed signature"
  grep -q 'Sign the stamped copy again' "$work/stderr" || fail "$name: the warning does not say to sign again"
  [ "$(security_entry "$signed")" = "0 0" ] || fail "$name: the certificate table entry is $(security_entry "$signed")"
  size=$(stat -c %s "$signed")
  [ $((size % 8)) -eq 0 ] || fail "$name: the re-stamped copy is $size bytes, not a multiple of 8"
  if verify "$signed"; then fail "$name: an unsigned copy verified"; fi
  grep -q 'invalid PE checksum' "$work/verify.txt" && fail "$name: the checksum of the unsigned copy is stale"
  [ "$("$tool" print "$signed")" = 'http://other.example/x|http://other.example/y' ] ||
    fail "$name: the new trailer does not read back"

  sign "$signed" "$work/$name-resigned.exe" || fail "$name: signing the re-stamped copy failed"
  verify "$work/$name-resigned.exe" || fail "$name: the re-signed copy does not verify: $(tail -3 "$work/verify.txt")"
  [ "$("$tool" print "$work/$name-resigned.exe")" = 'http://other.example/x|http://other.example/y' ] ||
    fail "$name: the trailer of the re-signed copy does not read back"

  # An unsigned copy stamped again keeps its sections and gets no warning.
  cp "$sample" "$exe"
  "$tool" set "$exe" 'a|b' 2>"$work/stderr" || fail "$name: stamping failed"
  [ -s "$work/stderr" ] && fail "$name: stamping an unsigned copy printed: $(cat "$work/stderr")"
done

[ $failures -eq 0 ] && echo "all signing checks passed"
exit $((failures > 0))
