# Windows build: the viewer, its tests under Wine, and the runnable folder
# ("stage") with the exe, the data file and the sidebar art.
enable_language(RC)

# A GoogleTest executable that CTest runs as one test under Wine (the
# cross-compiling emulator): one Wine start per program, not one per case.
# GoogleTest's own output names every failing case and its message.
function(verdalis_windows_test name timeout)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "WORKING_DIRECTORY" "")
  if(NOT arg_WORKING_DIRECTORY)
    set(arg_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE gtest gtest_main verdalis_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout})
endfunction()

# The data file and the pictures are made by the host build's content tool.
set(VERDALIS_CONTENT_TOOL "" CACHE FILEPATH "The host build's verdalis-content, which packs the data file")
if(NOT EXISTS "${VERDALIS_CONTENT_TOOL}")
  message(FATAL_ERROR "VERDALIS_CONTENT_TOOL (${VERDALIS_CONTENT_TOOL}) is not the host build's verdalis-content: "
                      "build the host preset first (scripts/build.sh does)")
endif()

add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8>
                    $<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP932>)
add_link_options(-static)

set(stage ${CMAKE_BINARY_DIR}/stage)
set(generated ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${stage} ${generated})

# The window icon, drawn from its text source.
add_executable(make_icon tools/make_icon.cpp)
add_custom_command(OUTPUT ${generated}/viewer.ico
  COMMAND make_icon ${PROJECT_SOURCE_DIR}/resources/icon.txt ${generated}/viewer.ico
  DEPENDS make_icon ${PROJECT_SOURCE_DIR}/resources/icon.txt)

# The viewer: everything of the exe but its entry point, so that the tests link it too.
add_library(verdalis_viewer STATIC
  app/main_window.cpp
  app/pointer_input.cpp
  base/text_drawing.cpp
  data/back_buffer.cpp
  data/entry_loader.cpp
  data/picture.cpp
  data/sidebar_bitmap.cpp
  print/line_breaking_win.cpp
  print/page_geometry_win.cpp
  print/print_job.cpp
  print/printed_sections.cpp
  render/detail_page.cpp
  render/frame.cpp
  render/index_lists.cpp
  render/picture_pages.cpp
  render/text_pages.cpp
  state/viewer_state.cpp)
target_link_libraries(verdalis_viewer PRIVATE verdalis_warnings)
# The caption's version, from project() (cmake/packaging.cmake writes the header).
target_include_directories(verdalis_viewer PRIVATE ${generated})
target_link_libraries(verdalis_viewer PUBLIC verdalis_core gdi32 user32 comdlg32 winspool)

add_executable(verdalis WIN32 app/win_main.cpp resources/viewer.rc)
target_link_libraries(verdalis PRIVATE verdalis_viewer verdalis_warnings)
target_include_directories(verdalis PRIVATE ${generated})
set_source_files_properties(resources/viewer.rc PROPERTIES OBJECT_DEPENDS ${generated}/viewer.ico)
set_target_properties(verdalis PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${stage})

# The bundled encyclopedia, packed by the host tool.
file(GLOB entry_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/content/entries/*.yaml)
add_custom_command(OUTPUT ${stage}/data
  COMMAND ${VERDALIS_CONTENT_TOOL} pack ${PROJECT_SOURCE_DIR}/content/entries ${stage}/data
  DEPENDS ${entry_sources} ${PROJECT_SOURCE_DIR}/content/style.tsv ${VERDALIS_CONTENT_TOOL}
  COMMENT "Packing the encyclopedia")
add_custom_target(stage_data ALL DEPENDS ${stage}/data)

# The pictures, scrambled into image/food_image under the viewer's names.
file(GLOB picture_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/content/pictures/*.png)
add_custom_command(OUTPUT ${generated}/pictures.stamp
  COMMAND ${VERDALIS_CONTENT_TOOL} pictures ${PROJECT_SOURCE_DIR}/content/pictures ${stage}/image/food_image
  COMMAND ${CMAKE_COMMAND} -E touch ${generated}/pictures.stamp
  DEPENDS ${picture_sources} ${VERDALIS_CONTENT_TOOL}
  COMMENT "Scrambling the pictures")
add_custom_target(stage_pictures ALL DEPENDS ${generated}/pictures.stamp)

include(cmake/sidebar_art.cmake)

# What the Windows tests share: the viewer window fixture and entries written
# by the content tool's own writer.
add_library(verdalis_test_support STATIC
  tests/support/entry_builder.cpp
  tests/support/viewer_fixture.cpp
  tools/entry_source.cpp)
target_include_directories(verdalis_test_support PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(verdalis_test_support PUBLIC verdalis_viewer gtest PRIVATE verdalis_warnings)

# Windows tests run under Wine through the cross-compiling emulator.
verdalis_windows_test(windows_tests 300
  tests/app/main_window_test.cpp
  tests/app/pointer_input_test.cpp
  tests/data/picture_files_test.cpp
  tests/render/frame_pixels_test.cpp)
target_link_libraries(windows_tests PRIVATE verdalis_test_support)

# The content tool's text widths, checked against GDI.
verdalis_windows_test(screen_text_tests 300 tests/tools/screen_text_test.cpp tools/screen_text.cpp)
target_link_libraries(screen_text_tests PRIVATE verdalis_core gdi32 user32)

include(cmake/jload.cmake)
include(cmake/print.cmake)

# Frame, print and decode timing, run by hand (not tests): see their headers.
if(VERDALIS_BENCH)
  add_executable(frame_benchmark bench/frame_benchmark.cpp)
  add_executable(print_benchmark bench/print_benchmark.cpp)
  add_executable(decode_benchmark bench/decode_benchmark.cpp)
  target_link_libraries(decode_benchmark PRIVATE ole32)
  foreach(bench frame_benchmark print_benchmark decode_benchmark)
    target_link_libraries(${bench} PRIVATE verdalis_viewer verdalis_warnings)
  endforeach()
endif()
