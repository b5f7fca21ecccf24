#!/usr/bin/env bash
# Sets up, builds and runs every test under Wine; CTest's summary comes last.
# Extra arguments go to ctest (for example: -L unit).
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/build.sh"
tree=$root/build/$(test_arch)
# Window tests share one Xvfb and a loaded machine now and then loses a
# Wine process at exit: a failed test gets one more run.
ctest --test-dir "$tree" -j2 --output-on-failure --repeat until-pass:2 "$@"
