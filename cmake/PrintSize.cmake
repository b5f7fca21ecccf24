# cmake -DFILE=path [-DENFORCE=ON] -P PrintSize.cmake: prints a built client's
# size beside its budget; with ENFORCE, a size past the budget is an error.
include(${CMAKE_CURRENT_LIST_DIR}/SizeBudget.cmake)
if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "${FILE} does not exist: build the i686 tree first")
endif()
file(SIZE "${FILE}" size)
get_filename_component(name "${FILE}" NAME)
message(STATUS "${name}: ${size} bytes (stripped, with all resources), budget ${MICROCLIENT_SIZE_BUDGET}")
if(ENFORCE AND size GREATER MICROCLIENT_SIZE_BUDGET)
  message(FATAL_ERROR "${name} is ${size} bytes, over its budget of ${MICROCLIENT_SIZE_BUDGET}")
endif()
