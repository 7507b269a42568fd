# Printing's portable core (page grid, line breaking), tested natively.
add_executable(print_host_tests
  print/line_breaking.cpp
  print/page_geometry.cpp
  tests/print/line_breaking_test.cpp
  tests/print/page_geometry_test.cpp)
target_include_directories(print_host_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(print_host_tests PRIVATE gtest gtest_main)
gtest_discover_tests(print_host_tests)
