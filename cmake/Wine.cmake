# Every Windows executable of the build runs under Wine through one wrapper
# that pins this build tree's own prefix and display.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WINE_LOADER /usr/lib/wine/wine64)
  set(WINE_ARCH win64)
else()
  set(WINE_LOADER /usr/lib/wine/wine)
  set(WINE_ARCH win32)
endif()
set(WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
set(WINE_PREFIX ${WINE_STATE_DIR}/prefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
