#!/usr/bin/env bash
# Sets up, builds and runs every test under Wine; CTest's summary comes last.
# Extra arguments go to ctest (for example: -L unit).
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/build.sh"
arch=$(test_arch)
tree=$root/build/$arch
if [ "$arch" = i686 ]; then
  echo "Testing the i686 tree (the product's own architecture) under 32-bit Wine."
else
  echo "This machine cannot run 32-bit processes: the i686 tree was built, product"
  echo "and tests, and the tests run on the x86_64 tree of the same sources instead."
fi
ctest --test-dir "$tree" -j2 --output-on-failure "$@"
