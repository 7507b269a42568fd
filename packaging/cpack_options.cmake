# Read by cpack for each package it makes: the zip keeps the common name
# (Verdalis-<version>-win64), the installer is Verdalis-<version>-setup.exe.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-setup")
endif()
