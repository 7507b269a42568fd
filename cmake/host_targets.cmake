# Host build: the content tool and the tests of everything that needs no Win32.
if(VERDALIS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  # The core was declared before these options: it gets them here.
  target_compile_options(verdalis_core PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                               -fno-sanitize-recover=all)
endif()

find_package(yaml-cpp REQUIRED)

add_library(verdalis_content STATIC tools/cp932.cpp tools/entry_source.cpp tools/content_pack.cpp tools/screen_text.cpp
  tools/picture_pack.cpp)
target_link_libraries(verdalis_content PUBLIC verdalis_core yaml-cpp PRIVATE verdalis_warnings)

add_executable(verdalis-content tools/content_tool.cpp)
target_link_libraries(verdalis-content PRIVATE verdalis_content verdalis_warnings)

add_executable(host_tests
  tests/base/dish_layout_test.cpp
  tests/base/text_lines_test.cpp
  tests/data/data_files_test.cpp
  tests/print/line_breaking_test.cpp
  tests/print/page_geometry_test.cpp
  tests/render/scroll_rule_test.cpp
  tests/support/entry_builder.cpp
  tests/tools/content_pack_test.cpp
  tests/tools/picture_pack_test.cpp)
target_link_libraries(host_tests PRIVATE verdalis_content gtest gtest_main verdalis_warnings)
target_compile_definitions(host_tests PRIVATE VERDALIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_test(NAME host_tests COMMAND host_tests --gtest_brief=1)

# The bundled encyclopedia must always pack.
add_test(NAME bundled_content_packs
  COMMAND verdalis-content pack ${PROJECT_SOURCE_DIR}/content/entries ${CMAKE_BINARY_DIR}/bundled-data)
