# The Windows release. The stage folder is what a reader gets: the build adds
# the README and the licence notices to it, and CPack installs it (with the
# exe and the DLL stripped) into a zip and into a per-user NSIS installer,
# both named from the project version. `cmake --build --preset windows
# --target package` (scripts/package.sh) writes them to build/release.

set(VERDALIS_PUBLISHER "Verdalis Project")
set(VERDALIS_COPYRIGHT "Copyright (C) 2026 ${VERDALIS_PUBLISHER}")
get_filename_component(default_release_dir ${CMAKE_BINARY_DIR}/../release ABSOLUTE)
set(VERDALIS_RELEASE_DIR ${default_release_dir} CACHE PATH "Where the release packages are written")

# The exe's version resource and the window caption take the version from here.
configure_file(${PROJECT_SOURCE_DIR}/resources/verdalis_version.h.in ${generated}/verdalis_version.h @ONLY)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/viewer.rc APPEND PROPERTY
  OBJECT_DEPENDS ${generated}/verdalis_version.h)

# README and licence notices, with Windows line ends. The licences folder is
# written afresh at each configure, so a notice the release no longer carries
# does not linger in an existing build's stage folder.
file(REMOVE_RECURSE ${stage}/licenses)
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/licenses/Verdalis.txt.in ${stage}/licenses/Verdalis.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/licenses/mingw-w64-runtime.txt
  ${stage}/licenses/mingw-w64-runtime.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${stage}/licenses/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE-content.md ${stage}/licenses/LICENSE-content.txt
  @ONLY NEWLINE_STYLE CRLF)

# The binaries are installed as targets so that CPack strips them; everything
# else is the stage folder as it is.
install(TARGETS verdalis jload RUNTIME DESTINATION .)
install(DIRECTORY ${stage}/ DESTINATION .
  PATTERN verdalis.exe EXCLUDE
  PATTERN jload.dll EXCLUDE)

set(CPACK_PACKAGE_NAME Verdalis)
set(CPACK_PACKAGE_VENDOR ${VERDALIS_PUBLISHER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CPACK_PACKAGE_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer of a Japanese encyclopedia of 127 food ingredients")
set(CPACK_GENERATOR ZIP NSIS)
# The zip holds one folder of this name; the installer's name is set in cpack_options.cmake.
set(CPACK_PACKAGE_FILE_NAME Verdalis-${PROJECT_VERSION}-win64)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack_options.cmake)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
set(CPACK_OUTPUT_FILE_PREFIX ${VERDALIS_RELEASE_DIR})
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Verdalis)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Verdalis)
set(CPACK_NSIS_PACKAGE_NAME "Verdalis ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME Verdalis)
set(CPACK_VERDALIS_ICON ${generated}/viewer.ico)
set(CPACK_VERDALIS_COPYRIGHT ${VERDALIS_COPYRIGHT})
# CPack takes the installer script from packaging/NSIS.template.in.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
include(CPack)

# The tests of both packages, under Wine in a prefix of their own
# (build/wine-package) on a virtual display, removed when they are done.
add_executable(package_check tests/package/package_check.cpp)
target_include_directories(package_check PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(package_check PRIVATE gdi32 user32)

add_test(NAME package_build COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target package)
set_tests_properties(package_build PROPERTIES FIXTURES_SETUP verdalis_packages TIMEOUT 300)

set(package_prefix ${PROJECT_SOURCE_DIR}/build/wine-package)
add_test(NAME package_prefix
  COMMAND sh -c "rm -rf \"$1\" && exec \"$2\" package" prefix ${package_prefix}
          ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh)
add_test(NAME package_prefix_removal COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_prefix} ${package_prefix}.lock)
set_tests_properties(package_prefix PROPERTIES FIXTURES_SETUP verdalis_package_prefix TIMEOUT 120)
set_tests_properties(package_prefix_removal PROPERTIES FIXTURES_CLEANUP verdalis_package_prefix)

foreach(kind installer zip)
  add_test(NAME package_${kind}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/package/package_test.sh ${kind}
            ${VERDALIS_RELEASE_DIR} ${PROJECT_VERSION} ${stage} $<TARGET_FILE:package_check>
            ${PROJECT_SOURCE_DIR}/content/pictures ${VERDALIS_SIDEBAR_BITMAP_COUNT})
  set_tests_properties(package_${kind} PROPERTIES
    FIXTURES_REQUIRED "verdalis_packages;verdalis_package_prefix" TIMEOUT 180)
endforeach()
