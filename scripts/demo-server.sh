#!/usr/bin/env bash
# demo-server.sh start|stop|port BUILD_DIR
# Runs the demo web server (tools/demo-server) for one build tree on a free
# port of 127.0.0.1. Its state lives in BUILD_DIR/demo-server: "port" (the
# port), "requests.log" (one line per request, emptied at each start), "pid".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
action=$1
build=$(cd "$2" && pwd)
state=$build/demo-server
mkdir -p "$state"

alive() { [ -f "$state/pid" ] && kill -0 "$(cat "$state/pid")" 2>/dev/null; }

case $action in
  start)
    if alive && [ -s "$state/port" ]; then
      : > "$state/requests.log"
      exit 0
    fi
    rm -f "$state/port" "$state/pid"
    : > "$state/requests.log"
    python3 "$root/tools/demo-server/demo_server.py" --port 0 --port-file "$state/port" \
      --log "$state/requests.log" --root "$root/resources/demo-pages" \
      </dev/null >"$state/server.out" 2>&1 &
    echo $! > "$state/pid"
    for _ in $(seq 100); do
      [ -s "$state/port" ] && { echo "demo server on http://127.0.0.1:$(cat "$state/port")/"; exit 0; }
      alive || break
      sleep 0.05
    done
    echo "demo server did not start:" >&2
    cat "$state/server.out" >&2 || true
    exit 1
    ;;
  stop)
    if alive; then
      kill "$(cat "$state/pid")" 2>/dev/null || true
    fi
    rm -f "$state/pid" "$state/port"
    ;;
  port)
    alive && cat "$state/port"
    ;;
  *) echo "usage: $0 start|stop|port BUILD_DIR" >&2; exit 2 ;;
esac
