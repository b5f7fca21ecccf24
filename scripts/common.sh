# Shared by the scripts: where things are built and which Wine runs tests.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The product is a 32-bit executable. Tests run it under 32-bit Wine where
# this machine can execute 32-bit processes; where the kernel refuses them
# (ia32 emulation off), the same sources are built for x86_64 and run under
# 64-bit Wine instead.
test_arch() {
  if [ -n "${VENEER_TEST_ARCH:-}" ]; then echo "$VENEER_TEST_ARCH"; return; fi
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}

# configure_tree ARCH TESTS(ON|OFF): prints the build directory.
configure_tree() {
  local arch=$1 tests=$2 dir=$root/build/$1
  if [ ! -f "$dir/build.ninja" ] || ! grep -qx "VENEER_BUILD_TESTS:BOOL=$tests" "$dir/CMakeCache.txt"; then
    local launcher=()
    # Several trees compile the same sources: a compiler cache, where there is one, shares the work.
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw.cmake" -DMINGW_ARCH="$arch" \
      -DVENEER_BUILD_TESTS="$tests" "${launcher[@]}" >/dev/null
  fi
  echo "$dir"
}
