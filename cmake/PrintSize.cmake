# cmake -DFILE=path -P PrintSize.cmake: prints a built file's size.
file(SIZE "${FILE}" size)
get_filename_component(name "${FILE}" NAME)
message(STATUS "${name}: ${size} bytes (stripped, with all resources)")
