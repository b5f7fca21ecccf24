# The browser tests over the stand-in browser take it from its module (so the
# prefix's registration stays as it is) and load pages from the demo server.
if(TARGET hosting_window_tests AND TARGET standin_browser)
  add_dependencies(hosting_window_tests standin_browser)
  file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/hosting/window/BrowserStandin_test.cpp standin_lines
    REGEX "^TEST\\(BrowserStandin, ")
  foreach(line IN LISTS standin_lines)
    string(REGEX REPLACE "^TEST\\(BrowserStandin, ([A-Za-z0-9_]+)\\).*" "BrowserStandin.\\1" name "${line}")
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "wine;demo_server")
  endforeach()
endif()
