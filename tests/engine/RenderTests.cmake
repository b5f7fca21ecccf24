# Render engine tests: an embedded PNG resource, a zipped skin folder and a
# large picture for the benchmark, all made at build time.
set(RENDER_FIXTURES ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/render)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/engine/RenderTests.rc.in
  ${CMAKE_CURRENT_BINARY_DIR}/generated/RenderTests.rc @ONLY)
if(TARGET engine_tests)
  target_sources(engine_tests PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated/RenderTests.rc)
endif()
# The mutation loops also run with Wine's heap checking on every call.
foreach(fuzz RenderImageString.MutatedStringsNeverCrash RenderText.MutatedRichTextNeverCrashes
    RenderImageStringDraw.MutatedStringsDrawWithoutCrashing)
  if(TEST ${fuzz})
    set_tests_properties(${fuzz} PROPERTIES ENVIRONMENT "WINEDEBUG=warn+heap")
  endif()
endforeach()
