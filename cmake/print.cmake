# The printing tests run under Wine against the project's PDF printer.

# Registers the Wine printer "Verdalis PDF" (run by scripts/printer-setup.sh).
add_executable(add_printer tests/support/add_printer.cpp)
target_link_libraries(add_printer PRIVATE winspool verdalis_warnings)

# Ghostscript renders the tests' PostScript to pages; a host program started
# from Wine does not get the host's PATH, so the tests use its full path.
find_program(VERDALIS_GHOSTSCRIPT gs REQUIRED)

verdalis_windows_test(print_tests 300
  tests/support/print_fixture.cpp
  tests/print/printed_sections_test.cpp
  tests/print/print_job_test.cpp)
target_link_libraries(print_tests PRIVATE verdalis_test_support)
target_compile_definitions(print_tests PRIVATE VERDALIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               VERDALIS_STAGE_DIR="${stage}"
                                               VERDALIS_BINARY_DIR="${CMAKE_BINARY_DIR}"
                                               VERDALIS_GHOSTSCRIPT="${VERDALIS_GHOSTSCRIPT}")

