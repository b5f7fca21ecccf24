#!/usr/bin/env bash
# An operator's own client from the built one:
#   brand.sh IN.exe OUT.exe [--config config.xml] [--skin DIR|ZIP] [--icon app.ico]
#            [--addresses "LOGIN|SERVICE"]
# Every input is checked first the way the client will read it (the
# configuration by the client's reader, the skin by the skin checker, the
# icon as an icon); on any problem it says what and where, writes nothing and
# exits 1. The resources are replaced under Wine, the address trailer (the
# given one, or the input's) is stamped last, and OUT.exe appears only whole.
set -euo pipefail
source "$(dirname "$0")/common.sh"
usage() { sed -n '2,9s/^# \{0,1\}//p' "$0" >&2; exit 2; }
[ $# -ge 2 ] || usage
in=$1; out=$2; shift 2
config=; skin=; icon=; addresses=; has_addresses=
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --config) config=$2 ;;
    --skin) skin=$2 ;;
    --icon) icon=$2 ;;
    --addresses) addresses=$2; has_addresses=1 ;;
    *) usage ;;
  esac
  shift 2
done
[ -f "$in" ] || { echo "brand: $in: no such file" >&2; exit 1; }
[ "$(realpath -m "$in")" != "$(realpath -m "$out")" ] || { echo "brand: OUT.exe must not be IN.exe" >&2; exit 1; }

tree=$root/build/$(test_arch)
if [ ! -f "$tree/build.ninja" ]; then bash "$root/scripts/build.sh" >&2; fi
cmake --build "$tree" --target brand skintool trailer_host >/dev/null
trailer=$tree/host/trailer
windows_path() { echo "Z:$(realpath -m "$1")"; }

scratch=$(mktemp -d)
partial=$out.partial
cleanup() {
  rm -rf "$scratch" "$partial"
  stop_own_wine_session
}
trap cleanup EXIT
share_wine_session "$tree"
wine_run() {
  local status
  "$tree/wine-run" "$@" </dev/null 2>"$scratch/stderr" | tr -d '\r'
  status=${PIPESTATUS[0]}
  tr -d '\r' <"$scratch/stderr" >&2
  return "$status"
}

refused=0
"$trailer" print "$in" >"$scratch/trailer" 2>/dev/null || { echo "brand: $in is not a client executable" >&2; exit 1; }
[ -n "$has_addresses" ] || addresses=$(cat "$scratch/trailer")

# The skin: a folder is packed as the build packs it, then checked window by window.
skin_zip=
if [ -n "$skin" ]; then
  if [ -d "$skin" ]; then
    skin_zip=$scratch/skin.zip
    (cd "$skin" && cmake -E tar cf "$skin_zip" --format=zip $(ls -A))
  elif [ -f "$skin" ]; then
    skin_zip=$skin
  else
    echo "brand: $skin: no such folder or archive" >&2; refused=1
  fi
  if [ -n "$skin_zip" ]; then
    for window in login.xml loginWebWnd.xml playGameWindow.xml; do
      if ! wine_run "$tree/tools/skintool/skintool.exe" check "$(windows_path "$skin_zip")" "$window" \
          >"$scratch/check" 2>"$scratch/check-err"; then
        { grep -v ': note: ' "$scratch/check" || true; } | sed "s|^|skin: |"
        sed "s|^|skin: |" "$scratch/check-err"
        refused=1
      fi
    done
  fi
fi

# The configuration, the icon and the addresses, checked by the branding tool
# itself; it writes the copy with the new resources only when all is well.
args=(write "$(windows_path "$in")" "$(windows_path "$partial")")
[ -z "$config" ] || args+=(--config "$(windows_path "$config")")
[ -z "$skin_zip" ] || args+=(--skin "$(windows_path "$skin_zip")")
[ -z "$icon" ] || args+=(--icon "$(windows_path "$icon")")
[ -z "$has_addresses" ] || args+=(--addresses "$addresses")
if [ $refused -ne 0 ]; then
  # Still let the tool report its own findings, writing nowhere.
  args[2]=$(windows_path "$scratch/discard.exe")
fi
if ! wine_run "$tree/tools/brand/brand.exe" "${args[@]}"; then refused=1; fi
if [ $refused -ne 0 ]; then
  echo "brand: refused; $out was not written" >&2
  exit 1
fi

# Resource updates rewrite the file: the trailer goes on last.
if [ -n "$addresses" ]; then
  stamped=0
  "$trailer" set "$partial" "$addresses" 2>"$scratch/stamp" || stamped=$?
  # The warning about a removed signature names the copy being written.
  sed "s|$partial|$out|g" "$scratch/stamp" >&2
  [ $stamped -eq 0 ] || { echo "brand: stamping the addresses failed" >&2; exit 1; }
fi
mv -f "$partial" "$out"
echo "brand: wrote $out"
