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

# tree_wine_run TREE: the tree's wine-run script; the caller stops when the
# tree is not configured yet.
tree_wine_run() {
  [ -x "$1/wine-run" ] || { echo "no $1/wine-run: configure the build first" >&2; return 1; }
  echo "$1/wine-run"
}

# tree_wineserver TREE: the wineserver that belongs to the tree's wine-run.
tree_wineserver() {
  local loader server
  loader=$(sed -n 's/^export WINELOADER="\(.*\)"/\1/p' "$1/wine-run")
  server=$(dirname "$loader")/wineserver${loader##*wine}
  [ -x "$server" ] || server=$(dirname "$loader")/wineserver
  echo "$server"
}

# settle_registry TREE: after `reg` edits in the tree's prefix. With the
# tree's Wine session up its persistent server already holds them; otherwise
# waits for the server that reg started to write them out.
settle_registry() {
  local state=$1/wine
  if ! { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }; then
    WINEPREFIX=$state/prefix "$(tree_wineserver "$1")" -w
  fi
}

# share_wine_session TREE: the tree's Wine session (display, prefix, server),
# brought up for this script unless tests already keep it running.
# stop_own_wine_session takes down only a session brought up here.
share_wine_session() {
  if [ ! -f "$1/wine/display" ]; then
    own_wine_session=$1
    bash "$root/scripts/wine-session.sh" up "$1"
  fi
}
stop_own_wine_session() {
  if [ -n "${own_wine_session:-}" ]; then bash "$root/scripts/wine-session.sh" down "$own_wine_session"; fi
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
