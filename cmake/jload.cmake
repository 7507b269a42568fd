# jload.dll, the picture decoder the viewer loads at run time, and its tests.

add_library(jload SHARED jload/jload.cpp jload/picture_header.cpp)
target_include_directories(jload PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(jload PRIVATE ole32 windowscodecs verdalis_warnings)
# The viewer looks for "jload.dll" next to itself, so no "lib" prefix, and
# no import library is needed: callers go through GetProcAddress.
set_target_properties(jload PROPERTIES
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${stage})

# The tests load the built DLL from stage\ next to the test executable.
verdalis_windows_test(jload_tests 300 tests/jload/jload_test.cpp)
target_link_libraries(jload_tests PRIVATE verdalis_viewer ole32 windowscodecs)
add_dependencies(jload_tests jload)
# The picture tests also decode through the real library.
add_dependencies(windows_tests jload)
