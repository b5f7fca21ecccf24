#!/usr/bin/env bash
# Runs the client. For now: sets up, builds, and prints the client
# configuration read from the shipped configuration document under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/build.sh"
tree=$root/build/$(test_arch)

# Share the tree's Wine session when tests already run in it; otherwise start
# one for this run and stop it afterwards.
if [ ! -f "$tree/wine/display" ]; then
  trap 'bash "$root/scripts/wine-session.sh" down "$tree"' EXIT
fi
bash "$root/scripts/wine-session.sh" up "$tree"
"$tree/wine-run" "$tree/tools/configdump/configdump.exe" "Z:$root/resources/config.xml" </dev/null | tr -d '\r'
