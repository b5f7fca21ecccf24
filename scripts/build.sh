#!/usr/bin/env bash
# Builds the 32-bit tree, product and tests, on every machine; where this
# machine cannot run 32-bit processes it also builds the x86_64 tree the
# tests then run in.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/setup.sh"
product=$(configure_tree i686 ON)
cmake --build "$product" -- -j"$(nproc)"
arch=$(test_arch)
if [ "$arch" != i686 ]; then
  tree=$(configure_tree "$arch" ON)
  cmake --build "$tree" -- -j"$(nproc)"
fi
