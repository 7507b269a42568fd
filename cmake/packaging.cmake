# The Windows release: the version resource of the exe, from project(VERSION).

set(VERDALIS_PUBLISHER "Verdalis Project")
set(VERDALIS_COPYRIGHT "Copyright (C) 2026 ${VERDALIS_PUBLISHER}")

# The exe's version resource takes the version from here.
configure_file(${PROJECT_SOURCE_DIR}/resources/verdalis_version.h.in ${generated}/verdalis_version.h @ONLY)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/viewer.rc APPEND PROPERTY
  OBJECT_DEPENDS ${generated}/verdalis_version.h)
