# The code-only browser variant is not part of the product library.
foreach(target hosting_tests hosting_window_tests)
  if(TARGET ${target})
    target_link_libraries(${target} PRIVATE veneer_codeonly_browser)
  endif()
endforeach()

# The browser tests over the stand-in browser take it from its module (so the
# prefix's registration stays as it is) and load pages from the demo server.
if(TARGET hosting_window_tests AND TARGET standin_browser)
  add_dependencies(hosting_window_tests standin_browser)
  foreach(file BrowserStandin BrowserKeys CodeOnlyBrowser)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/hosting/window/${file}_test.cpp)
    if(NOT EXISTS ${source})
      continue()
    endif()
    file(STRINGS ${source} lines REGEX "^TEST\\(${file}, ")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^TEST\\(${file}, ([A-Za-z0-9_]+)\\).*" "${file}.\\1" name "${line}")
      set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "wine;demo_server")
    endforeach()
  endforeach()
endif()
