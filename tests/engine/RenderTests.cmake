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

# The benchmark's 1286 x 768 picture with varying alpha, beside its executable.
set(RENDER_BENCH_PNG ${CMAKE_BINARY_DIR}/bench/render_bench.png)
add_custom_command(OUTPUT ${RENDER_BENCH_PNG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bench
  COMMAND /usr/bin/convert -seed 7 -size 1286x768 plasma:fractal
    ( -size 1286x768 gradient: ) -alpha off -compose CopyOpacity -composite PNG32:${RENDER_BENCH_PNG}
  VERBATIM)
add_custom_target(render_bench_image ALL DEPENDS ${RENDER_BENCH_PNG})
