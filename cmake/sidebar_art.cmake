# The sidebar art: drawn under Wine by make_sidebar_art into the stage folder,
# as sidebar/NN.bmp (NN = position in imagelist.txt) and imagelist.txt.
add_executable(make_sidebar_art tools/make_sidebar_art.cpp)
target_include_directories(make_sidebar_art PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(make_sidebar_art PRIVATE gdi32 user32 verdalis_warnings)

# How many bitmaps the viewer's layout has, read from its one definition.
set(screen_layout ${PROJECT_SOURCE_DIR}/base/screen_layout.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${screen_layout})
file(STRINGS ${screen_layout} count_line REGEX "^constexpr int kSidebarBitmapCount = [0-9]+;")
string(REGEX REPLACE "^constexpr int kSidebarBitmapCount = ([0-9]+).*" "\\1" VERDALIS_SIDEBAR_BITMAP_COUNT
       "${count_line}")
if(NOT VERDALIS_SIDEBAR_BITMAP_COUNT MATCHES "^[0-9]+$")
  message(FATAL_ERROR "no kSidebarBitmapCount in ${screen_layout}")
endif()
math(EXPR last_position "${VERDALIS_SIDEBAR_BITMAP_COUNT} - 1")

# One output per bitmap, so deleting any of them redraws the set.
set(sidebar_art_outputs ${stage}/imagelist.txt)
foreach(position RANGE ${last_position})
  if(position LESS 10)
    set(position 0${position})
  endif()
  list(APPEND sidebar_art_outputs ${stage}/sidebar/${position}.bmp)
endforeach()

add_custom_command(OUTPUT ${sidebar_art_outputs}
  COMMAND make_sidebar_art ${stage}
  DEPENDS make_sidebar_art
  COMMENT "Drawing the sidebar art")
add_custom_target(sidebar_art ALL DEPENDS ${sidebar_art_outputs})

# Checks of the written art, run in the stage folder where the viewer reads it.
verdalis_windows_test(sidebar_art_tests 300 tests/tools/sidebar_art_test.cpp WORKING_DIRECTORY ${stage})
target_link_libraries(sidebar_art_tests PRIVATE verdalis_viewer)
add_dependencies(sidebar_art_tests sidebar_art)
