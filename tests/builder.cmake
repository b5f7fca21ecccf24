# Skins of the dialog builder and window tests: the sample skin as a folder,
# as a zip file beside the test programs, and as resources of the programs.
set(builder_skin_dir ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/skins/sample)
set(builder_skin_files sample.xml part.xml hittest.xml logo.png shadow.png)
set(builder_out ${CMAKE_CURRENT_BINARY_DIR}/builder)
list(TRANSFORM builder_skin_files PREPEND ${builder_skin_dir}/ OUTPUT_VARIABLE builder_skin_paths)

add_custom_command(OUTPUT ${builder_out}/sample.zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${builder_out}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${builder_out}/sample.zip --format=zip ${builder_skin_files}
  WORKING_DIRECTORY ${builder_skin_dir}
  DEPENDS ${builder_skin_paths}
  COMMENT "Zipping the sample skin")

# Loaded from resources, an Include names its part by resource number.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${builder_skin_dir}/sample.xml)
file(READ ${builder_skin_dir}/sample.xml builder_sample_xml)
string(REPLACE "source=\"part.xml\"" "source=\"2403\"" builder_sample_xml "${builder_sample_xml}")
file(CONFIGURE OUTPUT ${builder_out}/sample_res.xml CONTENT "${builder_sample_xml}" @ONLY)

file(CONFIGURE OUTPUT ${builder_out}/builder_skins.rc CONTENT "\
2401 ZIPRES \"${builder_out}/sample.zip\"
2402 XML \"${builder_out}/sample_res.xml\"
2403 XML \"${builder_skin_dir}/part.xml\"
2404 XML \"${builder_skin_dir}/hittest.xml\"
")
set_source_files_properties(${builder_out}/builder_skins.rc PROPERTIES
  OBJECT_DEPENDS "${builder_out}/sample.zip;${builder_out}/sample_res.xml;${builder_skin_paths}")

# The window tests find the skin folder relative to their own program.
file(RELATIVE_PATH builder_skin_rel ${CMAKE_CURRENT_BINARY_DIR} ${builder_skin_dir})

foreach(target foundation_tests engine_window_tests)
  if(TARGET ${target})
    target_sources(${target} PRIVATE ${builder_out}/builder_skins.rc)
    target_compile_definitions(${target} PRIVATE "BUILDER_SKIN_RELDIR=L\"${builder_skin_rel}/\"")
  endif()
endforeach()
