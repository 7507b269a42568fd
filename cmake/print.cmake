# Printing: the sections, line breaking and page grid join the viewer; the
# printing tests run under Wine against the project's PDF printer.
target_sources(verdalis_viewer PRIVATE
  print/line_breaking.cpp
  print/line_breaking_win.cpp
  print/page_geometry.cpp
  print/page_geometry_win.cpp
  print/printed_sections.cpp)

# Registers the Wine printer "Verdalis PDF" (run by scripts/printer-setup.sh).
add_executable(add_printer tools/add_printer.cpp)
target_link_libraries(add_printer PRIVATE winspool)

# Ghostscript renders the tests' PostScript to pages; a host program started
# from Wine does not get the host's PATH, so the tests use its full path.
find_program(VERDALIS_GHOSTSCRIPT gs REQUIRED)

verdalis_windows_test(print_tests 300
  tests/print/line_breaking_test.cpp
  tests/print/page_geometry_test.cpp
  tests/print/print_fixture.cpp
  tests/print/printed_sections_test.cpp
  tests/print/print_job_test.cpp)
target_link_libraries(print_tests PRIVATE verdalis_test_support)
target_compile_definitions(print_tests PRIVATE VERDALIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               VERDALIS_STAGE_DIR="${stage}"
                                               VERDALIS_BINARY_DIR="${CMAKE_BINARY_DIR}"
                                               VERDALIS_GHOSTSCRIPT="${VERDALIS_GHOSTSCRIPT}")

# Times whole-entry jobs on the printer, by hand (not a test): see its header.
add_executable(print_benchmark tools/print_benchmark.cpp)
target_link_libraries(print_benchmark PRIVATE verdalis_viewer)
target_include_directories(print_benchmark PRIVATE ${PROJECT_SOURCE_DIR})
