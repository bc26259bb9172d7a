# The setup's own code small: optimised for size (the copy loop and the checksum wait on the drive,
# not on the processor), each function and datum in a section of its own, and the sections that
# nothing uses dropped by the linker.
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections> $<$<COMPILE_LANGUAGE:C,CXX>:-fdata-sections>)
add_link_options(-Wl,--gc-sections)
