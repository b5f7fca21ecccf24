# Soak runs: scenarios repeated inside one process, measured before and after.
# The quick forms are tests; scripts/soak.sh runs the long forms and prints the table.
if(TARGET microclient_shell AND TARGET MicroClient)
  set(SOAK_DIR ${CMAKE_BINARY_DIR}/tests/soak)
  set(SHELL_RESOURCE_H ${CMAKE_SOURCE_DIR}/shell/ShellResources.h)
  set(RESOURCES_DIR ${CMAKE_SOURCE_DIR}/resources)
  set(CONFIG_XML ${CMAKE_SOURCE_DIR}/resources/config.xml)
  set(SKIN_ZIP ${CMAKE_BINARY_DIR}/shell/skin.zip)
  # The client's own resources, so its frames build as they do in the product.
  configure_file(${CMAKE_SOURCE_DIR}/resources/MicroClient.rc.in ${SOAK_DIR}/Soak.rc @ONLY)
  set_source_files_properties(${SOAK_DIR}/Soak.rc PROPERTIES
    OBJECT_DEPENDS "${SKIN_ZIP};${CONFIG_XML};${RESOURCES_DIR}/icon.ico")
  add_executable(soak_runner ${CMAKE_CURRENT_LIST_DIR}/SoakRunner.cpp ${CMAKE_CURRENT_LIST_DIR}/ResourceCounts.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/TestSupport.cpp
    ${SOAK_DIR}/Soak.rc)
  target_link_libraries(soak_runner PRIVATE microclient_shell veneer)
  target_include_directories(soak_runner PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR}
    ${CMAKE_CURRENT_BINARY_DIR}/generated)
  add_dependencies(soak_runner MicroClient)
  if(TARGET standin_browser)
    add_dependencies(soak_runner standin_browser)
  endif()
  # Quick and exact: handle counts must come back to where they were.
  add_test(NAME soak.quick COMMAND soak_runner --iterations 10 --frames 2)
  set_tests_properties(soak.quick PROPERTIES LABELS window FIXTURES_REQUIRED "wine;standin_browser" TIMEOUT 400
    RESOURCE_LOCK display)
endif()
