#!/usr/bin/env bash
# register-test-url-handler.sh BUILD_DIR [--restore]
# Makes the tree's UrlLogger (tools/test-url-handler) the handler of http and
# https addresses in the tree's Wine prefix, so that ShellExecuteW("open",
# address) appends the address to BUILD_DIR/test-url-handler/opened.log
# instead of starting a browser. --restore puts Wine's winebrowser back.
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$(cd "$1" && pwd)
mode=${2:-register}
run=$(tree_wine_run "$build")
state=$build/test-url-handler
mkdir -p "$state"

case $mode in
  register|--register)
    exe=$build/tools/test-url-handler/UrlLogger.exe
    [ -f "$exe" ] || { echo "no $exe: build the test_url_handler target first" >&2; exit 1; }
    : > "$state/opened.log"
    command="\"Z:${exe//\//\\}\" \"Z:${state//\//\\}\\opened.log\" \"%1\""
    ;;
  --restore|restore)
    command='"C:\windows\system32\winebrowser.exe" "%1"'
    ;;
  *) echo "usage: $0 BUILD_DIR [--restore]" >&2; exit 2 ;;
esac

for scheme in http https; do
  "$run" reg add "HKLM\\Software\\Classes\\$scheme\\shell\\open\\command" /ve /d "$command" /f </dev/null >/dev/null 2>&1
done

settle_registry "$build"
echo "http and https now open with: $command"
