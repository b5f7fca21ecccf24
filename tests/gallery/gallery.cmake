# The gallery: one window with every stock control, rendered and compared
# with a committed reference picture.
veneer_test_exe(gallery_window_tests window gallery/window/Gallery_test.cpp)
target_compile_definitions(gallery_window_tests PRIVATE
  GALLERY_SKIN_DIR=L"Z:${CMAKE_CURRENT_SOURCE_DIR}/gallery/skin/"
  GALLERY_REFERENCE=L"Z:${CMAKE_CURRENT_SOURCE_DIR}/gallery/reference/gallery.png")
