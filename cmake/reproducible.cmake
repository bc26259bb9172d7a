# The same sources give the same bytes, whichever folder they are built in and whenever: no build
# paths in the objects (__FILE__, debug records) and no link time in the program files' headers.
# Dates that a tool must write come from SOURCE_DATE_EPOCH (make release sets it from the commit).
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
                    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
add_link_options(-Wl,--no-insert-timestamp)
