#include "render/dish_layout.h"

#include <cstring>

int32_t estimateLineCount(const char* text, int32_t bytesPerLine) {
    if (!text || !*text) return 1;
    if (bytesPerLine <= 0) bytesPerLine = 1;
    int32_t lines = 0;
    const char* segment = text;
    while (true) {
        const char* newline = std::strchr(segment, '\n');
        std::size_t length = newline ? static_cast<std::size_t>(newline - segment) : std::strlen(segment);
        lines += static_cast<int32_t>(length / static_cast<std::size_t>(bytesPerLine)) + 1;
        if (!newline) break;
        segment = newline + 1;
    }
    if (text[std::strlen(text) - 1] == '\n') --lines;
    return lines;
}
