# Tests of the test tools: the stand-in web browser object, the demo web
# server and the test default-browser handler. Fixtures other tests can use:
#   standin_browser   the stand-in browser is registered in the tree's prefix
#   test_url_handler  http(s) addresses opened by ShellExecute are logged to
#                     BUILD/test-url-handler/opened.log
#   demo_server       the demo pages are served on 127.0.0.1; the port is in
#                     BUILD/demo-server/port, the request log in
#                     BUILD/demo-server/requests.log
add_test(NAME standin_browser_register
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/register-standin-browser.sh ${CMAKE_BINARY_DIR})
set_tests_properties(standin_browser_register PROPERTIES
  FIXTURES_SETUP standin_browser FIXTURES_REQUIRED wine LABELS window)
add_test(NAME test_url_handler_register
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/register-test-url-handler.sh ${CMAKE_BINARY_DIR})
set_tests_properties(test_url_handler_register PROPERTIES
  FIXTURES_SETUP test_url_handler FIXTURES_REQUIRED wine LABELS window)
add_test(NAME demo_server_start
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/demo-server.sh start ${CMAKE_BINARY_DIR})
set_tests_properties(demo_server_start PROPERTIES FIXTURES_SETUP demo_server LABELS window)
add_test(NAME demo_server_stop
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/demo-server.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(demo_server_stop PROPERTIES FIXTURES_CLEANUP demo_server LABELS window)

set(tools_window_sources ${CMAKE_CURRENT_SOURCE_DIR}/tools/window/StandinBrowser_test.cpp)
add_executable(tools_window_tests ${tools_window_sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/TestSupport.cpp)
target_link_libraries(tools_window_tests PRIVATE gtest_main ole32 oleaut32 uuid shell32 gdi32 user32)
target_include_directories(tools_window_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
  ${CMAKE_CURRENT_BINARY_DIR}/generated)
add_dependencies(tools_window_tests standin_browser test_url_handler)
gtest_add_tests(TARGET tools_window_tests SOURCES ${tools_window_sources} TEST_LIST tools_added)
set_tests_properties(${tools_added} PROPERTIES LABELS window TIMEOUT 120 RESOURCE_LOCK display
  FIXTURES_REQUIRED "wine;standin_browser;demo_server;test_url_handler")

# The markup side of the stand-in browser, tested without COM or windows.
set(STANDIN_DIR ${CMAKE_SOURCE_DIR}/tools/standin-browser)
set(tools_unit_sources ${CMAKE_CURRENT_SOURCE_DIR}/tools/StandinPage_test.cpp)
add_executable(tools_tests ${tools_unit_sources} ${STANDIN_DIR}/Html.cpp ${STANDIN_DIR}/Page.cpp)
target_include_directories(tools_tests PRIVATE ${STANDIN_DIR})
target_link_libraries(tools_tests PRIVATE gtest_main shlwapi gdi32 user32)
gtest_add_tests(TARGET tools_tests SOURCES ${tools_unit_sources} TEST_LIST tools_unit_added)
set_tests_properties(${tools_unit_added} PROPERTIES LABELS unit FIXTURES_REQUIRED wine TIMEOUT 120)

# The skin tool on the shipped skin and the broken one.
if(TARGET skintool)
  add_test(NAME skintool_check_and_render
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/skintool/skintool_test.sh
      ${CMAKE_BINARY_DIR}/tests/skintool ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:skintool> ${CMAKE_SOURCE_DIR})
  set_tests_properties(skintool_check_and_render PROPERTIES LABELS window FIXTURES_REQUIRED wine TIMEOUT 180)
endif()

# The branding script on the built client.
if(TARGET brand AND TARGET skintool AND TARGET MicroClient)
  add_test(NAME brand_round_trip_and_refusals
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/brand/brand_test.sh
      ${CMAKE_BINARY_DIR}/tests/brand ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(brand_round_trip_and_refusals PROPERTIES LABELS window FIXTURES_REQUIRED wine TIMEOUT 600)
endif()
