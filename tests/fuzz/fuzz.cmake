# The fuzz executables run under the guard heap: it replaces operator new and
# delete, and the linker routes every C allocation of the code linked in
# through it too. Only these executables; the product is untouched.
set(GUARD_HEAP_LINK_OPTIONS
  -Wl,--wrap=malloc -Wl,--wrap=free -Wl,--wrap=realloc -Wl,--wrap=calloc)

set(fuzz_target_sources
  targets/ArchiveTarget.cpp
  targets/ConfigTarget.cpp
  targets/ImageTarget.cpp
  targets/MarkupTarget.cpp
  targets/RichTextTarget.cpp
  targets/SkinTarget.cpp
  targets/TrailerTarget.cpp
  targets/ValueTarget.cpp)
list(TRANSFORM fuzz_target_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
add_executable(fuzz_runner ${CMAKE_CURRENT_LIST_DIR}/FuzzRunner.cpp ${CMAKE_CURRENT_LIST_DIR}/GuardHeap.cpp
  ${fuzz_target_sources})
target_link_libraries(fuzz_runner PRIVATE microclient_shell veneer)
target_include_directories(fuzz_runner PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
  ${CMAKE_CURRENT_BINARY_DIR}/generated ${STB_INCLUDE_DIR})
target_link_options(fuzz_runner PRIVATE ${GUARD_HEAP_LINK_OPTIONS})
add_dependencies(fuzz_runner archive_fixtures)

# The guard heap's own test: planted faults must be caught.
add_executable(guard_heap_tests ${CMAKE_CURRENT_LIST_DIR}/GuardHeap_test.cpp ${CMAKE_CURRENT_LIST_DIR}/GuardHeap.cpp)
target_link_libraries(guard_heap_tests PRIVATE gtest_main)
target_include_directories(guard_heap_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_options(guard_heap_tests PRIVATE ${GUARD_HEAP_LINK_OPTIONS})
gtest_add_tests(TARGET guard_heap_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/GuardHeap_test.cpp TEST_LIST guard_tests)
set_tests_properties(${guard_tests} PROPERTIES LABELS unit FIXTURES_REQUIRED wine TIMEOUT 120)
# The same planted faults with the protection off go unseen: this run must fail.
add_test(NAME GuardHeap.PlantedFaultsPassUnseenWithoutProtection
  COMMAND guard_heap_tests --gtest_filter=GuardHeapPlanted.*)
set_tests_properties(GuardHeap.PlantedFaultsPassUnseenWithoutProtection PROPERTIES
  LABELS unit FIXTURES_REQUIRED wine TIMEOUT 120 WILL_FAIL TRUE ENVIRONMENT VENEER_GUARD_HEAP=off)

# CI's fuzz stage: fixed seeds and iteration counts, a few minutes in all.
# scripts/fuzz.sh runs any target longer.
set(FUZZ_CI_SEEDS 1,2)
# Each target takes some 15 s under the guard heap on this kind of machine.
set(FUZZ_CI_ITERATIONS markup=500 archive=500 image=1500 value=700 richtext=700
  config=2500 trailer=2000 skin=400)
foreach(entry ${FUZZ_CI_ITERATIONS})
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 target)
  list(GET pair 1 iterations)
  # The name carries target, seeds and iterations into CI's log; passing means zero faults.
  string(REPLACE "," "-" seed_words ${FUZZ_CI_SEEDS})
  set(test_name fuzz.${target}.seeds-${seed_words}.iterations-${iterations})
  add_test(NAME ${test_name}
    COMMAND fuzz_runner --target ${target} --seeds ${FUZZ_CI_SEEDS} --iterations ${iterations})
  set_tests_properties(${test_name} PROPERTIES LABELS "unit;fuzz" FIXTURES_REQUIRED wine TIMEOUT 300
    PASS_REGULAR_EXPRESSION "fuzz target=${target} .* faults=0 guard-heap=on")
endforeach()
