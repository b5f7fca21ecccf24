#!/usr/bin/env bash
# up|down BUILD_DIR: the Xvfb display, Wine prefix and persistent wineserver
# that one build tree's tests and demo run in. Touches nothing of others.
set -euo pipefail
source "$(dirname "$0")/common.sh"
action=$1
build=$(cd "$2" && pwd)
state=$build/wine
run=$(tree_wine_run "$build")
server=$(tree_wineserver "$build")
export WINEPREFIX=$state/prefix WINEDEBUG=-all
mkdir -p "$state"

xvfb_alive() { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

start_xvfb() {
  xvfb_alive && return 0
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    # The frame buffer as a file: screenshots read what the display shows.
    mkdir -p "$state/fb"
    Xvfb ":$n" -screen 0 1600x900x24 -fbdir "$state/fb" -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 50); do
      [ -e /tmp/.X11-unix/X$n ] && { echo ":$n" > "$state/display"; return 0; }
      kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2; return 1
}

case $action in
  up)
    start_xvfb
    export DISPLAY=$(cat "$state/display")
    if [ ! -f "$state/prefix/.veneer-ready" ]; then
      rm -rf "$state/prefix"
      "$run" wineboot -i </dev/null >/dev/null 2>&1 || true
      # Unmanaged X windows: no window manager here, and a managed window costs seconds.
      "$run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
      "$server" -w
      touch "$state/prefix/.veneer-ready"
    fi
    # A persistent server started away from any pipe keeps each test start fast.
    "$server" -p </dev/null >/dev/null 2>&1 || true
    "$run" cmd /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  down)
    "$server" -k </dev/null >/dev/null 2>&1 || true
    if xvfb_alive; then kill "$(cat "$state/xvfb.pid")"; fi
    rm -rf "$state/xvfb.pid" "$state/display" "$state/fb"
    ;;
  *) echo "usage: $0 up|down BUILD_DIR" >&2; exit 2 ;;
esac
