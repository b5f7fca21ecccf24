# The gallery: one window with every stock control, rendered and compared
# with a committed reference picture.
file(GLOB gallery_window_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gallery/window/*.cpp)
veneer_test_exe(gallery_window_tests window ${gallery_window_sources})
if(TARGET gallery_window_tests)
  target_compile_definitions(gallery_window_tests PRIVATE
    GALLERY_SKIN_DIR=L"Z:${CMAKE_CURRENT_SOURCE_DIR}/gallery/skin/"
    GALLERY_REFERENCE=L"Z:${CMAKE_CURRENT_SOURCE_DIR}/gallery/reference/gallery.png")
endif()
