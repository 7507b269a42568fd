#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "data/sidebar_list.h"

// Any list file must end, and every path handed on must be a NUL-terminated
// string inside the line buffer, without its line break.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;  // fmemopen wants at least one byte
    std::FILE* list = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (!list) return 0;
    char path[kListLineBufferSize];
    std::size_t lines = 0;
    for (ListLine line; (line = readSidebarListLine(list, path)) != ListLine::end;) {
        // Each line read consumes at least one byte of the file.
        if (++lines > size) __builtin_trap();
        if (line != ListLine::path) continue;
        const void* nul = std::memchr(path, '\0', sizeof path);
        if (!nul || nul == path || std::memchr(path, '\n', static_cast<const char*>(nul) - path)) __builtin_trap();
    }
    std::fclose(list);
    return 0;
}
