#!/usr/bin/env bash
# register-standin-browser.sh BUILD_DIR [--restore]
# Registers the tree's stand-in browser DLL (tools/standin-browser) in the
# tree's Wine prefix under the platform web browser's class id, so that any
# program of that prefix creating the browser gets the stand-in. --restore
# puts Wine's own browser object back.
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$(cd "$1" && pwd)
mode=${2:-register}
run=$(tree_wine_run "$build")
key='HKLM\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'

case $mode in
  register|--register)
    dll=$build/tools/standin-browser/StandinBrowser.dll
    [ -f "$dll" ] || { echo "no $dll: build the standin_browser target first" >&2; exit 1; }
    server_dll="Z:${dll//\//\\}"
    ;;
  --restore|restore)
    server_dll='C:\windows\system32\ieframe.dll'
    ;;
  *) echo "usage: $0 BUILD_DIR [--restore]" >&2; exit 2 ;;
esac

"$run" reg add "$key" /ve /d "$server_dll" /f </dev/null >/dev/null 2>&1
"$run" reg add "$key" /v ThreadingModel /d Apartment /f </dev/null >/dev/null 2>&1

settle_registry "$build"

now=$("$run" reg query "$key" /ve </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
if [ "$now" != "$server_dll" ]; then
  echo "registration failed: $key is '$now'" >&2
  exit 1
fi
echo "web browser class now served by $server_dll"
