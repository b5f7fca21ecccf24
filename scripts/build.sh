#!/usr/bin/env bash
# Builds the 32-bit product tree and, when it differs, the tree the tests run in.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/setup.sh"
arch=$(test_arch)
if [ "$arch" != i686 ]; then
  product=$(configure_tree i686 OFF)
  cmake --build "$product" -- -j"$(nproc)"
fi
tree=$(configure_tree "$arch" ON)
cmake --build "$tree" -- -j"$(nproc)"
