# The mutation loop once more with Wine validating its heap on every call,
# so that a write past any block the parser owns is reported.
if(TARGET foundation_tests)
  add_test(NAME MarkupFuzz.RandomMutationsHeapChecked
    COMMAND foundation_tests --gtest_filter=MarkupFuzz.RandomMutations)
  set_tests_properties(MarkupFuzz.RandomMutationsHeapChecked PROPERTIES
    LABELS unit FIXTURES_REQUIRED wine TIMEOUT 300
    ENVIRONMENT "WINEDEBUG=warn+heap"
    FAIL_REGULAR_EXPRESSION "err:heap;warn:heap;FAILED")

  # A skin archive for loading markup through the paint manager's settings.
  set(markup_zip ${CMAKE_CURRENT_BINARY_DIR}/markup_skin.zip)
  add_custom_command(OUTPUT ${markup_zip}
    COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_CURRENT_SOURCE_DIR}/fixtures/foundation
      -DOUT=${CMAKE_CURRENT_BINARY_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/MakeMarkupZip.cmake
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/MakeMarkupZip.cmake
      ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/foundation/login.xml
      ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/foundation/play.xml
    VERBATIM)
  add_custom_target(markup_fixtures DEPENDS ${markup_zip})
  add_dependencies(foundation_tests markup_fixtures)
endif()

# Includes run one way: foundation and engine never include controls/ or
# hosting/ (they reach them through the factory table and virtual questions).
add_test(NAME Layering.FoundationAndEngineIncludeNothingFromAbove
  COMMAND sh -c "! grep -l '#include \"\\(controls\\|hosting\\)/' framework/foundation/* framework/engine/*"
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
set_tests_properties(Layering.FoundationAndEngineIncludeNothingFromAbove PROPERTIES LABELS unit)
