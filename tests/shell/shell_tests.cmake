# Extra pieces of the shell tests: stripped sample executables of both image
# formats for the address trailer, the shipped configuration embedded as
# resource 104, and the tests of the trailer tool and the config dump.
set(SHELL_TEST_DIR ${CMAKE_BINARY_DIR}/tests/shell)
set(SHIPPED_CONFIG ${CMAKE_SOURCE_DIR}/resources/config.xml)
file(MAKE_DIRECTORY ${SHELL_TEST_DIR})

# PE32 (the product's format) and PE32+, whatever this tree is built for.
set(sample_source ${CMAKE_CURRENT_SOURCE_DIR}/shell/sample/TrailerSample.c)
set(sample_outputs)
foreach(pair "i686;pe32" "x86_64;pe32plus")
  list(GET pair 0 sample_arch)
  list(GET pair 1 sample_format)
  find_program(SAMPLE_CC_${sample_arch} NAMES ${sample_arch}-w64-mingw32-gcc-posix ${sample_arch}-w64-mingw32-gcc)
  if(NOT SAMPLE_CC_${sample_arch})
    continue()
  endif()
  set(out ${SHELL_TEST_DIR}/trailer_sample_${sample_format}.exe)
  add_custom_command(OUTPUT ${out}
    COMMAND ${SAMPLE_CC_${sample_arch}} -O2 -s -o ${out} ${sample_source}
    DEPENDS ${sample_source}
    COMMENT "Building the stripped ${sample_format} trailer sample")
  list(APPEND sample_outputs ${out})
endforeach()
add_custom_target(trailer_samples ALL DEPENDS ${sample_outputs})

if(TARGET shell_tests)
  add_dependencies(shell_tests trailer_samples)
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/shell/ShellTests.rc.in ${SHELL_TEST_DIR}/ShellTests.rc @ONLY)
  target_sources(shell_tests PRIVATE ${SHELL_TEST_DIR}/ShellTests.rc)
  set_property(SOURCE ${SHELL_TEST_DIR}/ShellTests.rc APPEND PROPERTY OBJECT_DEPENDS ${SHIPPED_CONFIG})
endif()

# The trailer tool on real executables: the host build, then the Windows build under Wine.
set(tool_test ${CMAKE_CURRENT_SOURCE_DIR}/shell/trailer_tool_test.sh)
if(TRAILER_HOST_TOOL)
  add_test(NAME trailer_tool_host
    COMMAND bash ${tool_test} ${SHELL_TEST_DIR}/tool_host ${TRAILER_HOST_TOOL} ${sample_outputs})
  set_tests_properties(trailer_tool_host PROPERTIES LABELS unit TIMEOUT 60)
endif()
if(TRAILER_HOST_TOOL)
  add_test(NAME trailer_tool_signed_copies
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/shell/trailer_sign_test.sh ${SHELL_TEST_DIR}/signing
      ${TRAILER_HOST_TOOL} ${sample_outputs})
  set_tests_properties(trailer_tool_signed_copies PROPERTIES LABELS unit TIMEOUT 120)
endif()
if(TARGET trailer)
  add_test(NAME trailer_tool_windows
    COMMAND bash ${tool_test} ${SHELL_TEST_DIR}/tool_windows "${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:trailer>" ${sample_outputs})
  set_tests_properties(trailer_tool_windows PROPERTIES LABELS unit FIXTURES_REQUIRED wine TIMEOUT 120)
endif()
if(TARGET configdump AND TRAILER_HOST_TOOL)
  add_test(NAME configdump_reads_config_and_trailer
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/shell/configdump_test.sh ${SHELL_TEST_DIR}/configdump
      ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:configdump> ${TRAILER_HOST_TOOL} ${SHIPPED_CONFIG})
  set_tests_properties(configdump_reads_config_and_trailer PROPERTIES LABELS unit FIXTURES_REQUIRED wine TIMEOUT 120)
endif()

# The resource tests read the built client.
if(TARGET shell_tests AND TARGET MicroClient)
  add_dependencies(shell_tests MicroClient)
endif()
