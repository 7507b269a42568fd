#include "data/sidebar_list.h"

#include <cstring>

ListLine readSidebarListLine(std::FILE* list, char (&path)[kListLineBufferSize]) {
    path[0] = '\0';
    if (!std::fgets(path, sizeof path, list)) return ListLine::end;
    std::size_t n = std::strlen(path);
    bool lineBreak = n > 0 && path[n - 1] == '\n';
    if (!lineBreak && n == sizeof path - 1) {
        // Longer than the buffer: the rest of the line is read and dropped, so
        // its tail is not taken for the next path.
        int c = 0;
        bool more = false;
        while ((c = std::fgetc(list)) != EOF && c != '\n') more = true;
        if (more || c == '\n') {
            path[0] = '\0';
            return ListLine::skip;
        }
    }
    if (!lineBreak && std::strcmp(path, "EOF") == 0) return ListLine::end;
    // Only the line break goes: a last line without one keeps all its bytes.
    // Text mode leaves a CR before the LF on files written elsewhere.
    if (lineBreak) path[--n] = '\0';
    if (n > 0 && path[n - 1] == '\r') path[--n] = '\0';
    if (n == 0) return ListLine::skip;
    return ListLine::path;
}
