# The whole book as one PDF (scripts/package.sh): every entry printed through
# the viewer's own print path on the project's printer, one entry after
# another, joined by Ghostscript with bookmarks by category and entry name.
add_executable(print_book tools/print_book.cpp)
target_link_libraries(print_book PRIVATE verdalis_viewer verdalis_warnings)

set(book_folder ${CMAKE_BINARY_DIR}/book)
set(VERDALIS_BOOK_PDF ${VERDALIS_RELEASE_DIR}/Verdalis-${PROJECT_VERSION}-book.pdf)
add_custom_command(OUTPUT ${VERDALIS_BOOK_PDF}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${book_folder}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${book_folder}
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:print_book> Z:${book_folder}
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/book-pdf.sh ${book_folder} ${VERDALIS_BOOK_PDF}
  DEPENDS print_book jload ${stage}/data ${generated}/pictures.stamp
  WORKING_DIRECTORY ${stage}
  COMMENT "Printing the book")
add_custom_target(book DEPENDS ${VERDALIS_BOOK_PDF})
