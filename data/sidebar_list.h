#pragma once

#include <cstddef>
#include <cstdio>

// One line of imagelist.txt, its line break included, fits this buffer.
constexpr std::size_t kListLineBufferSize = 260;

enum class ListLine {
    path,  // `path` holds a path to try
    skip,  // an empty or over-long line: nothing to try
    end,   // the list has ended
};

// Reads the next line of the sidebar list into path, without its line break.
// The list ends at the end of the file, or at a last line that is exactly EOF
// with no line break after it. A line EOF followed by a line break is a path
// like any other, so an EOF line in the middle of the list does not end it.
ListLine readSidebarListLine(std::FILE* list, char (&path)[kListLineBufferSize]);
