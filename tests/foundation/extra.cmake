# The mutation loop once more with Wine validating its heap on every call,
# so that a write past any block the parser owns is reported.
if(TARGET foundation_tests)
  add_test(NAME MarkupFuzz.RandomMutationsHeapChecked
    COMMAND foundation_tests --gtest_filter=MarkupFuzz.RandomMutations)
  set_tests_properties(MarkupFuzz.RandomMutationsHeapChecked PROPERTIES
    LABELS unit FIXTURES_REQUIRED wine TIMEOUT 300
    ENVIRONMENT "WINEDEBUG=warn+heap"
    FAIL_REGULAR_EXPRESSION "err:heap;warn:heap;FAILED")
endif()
