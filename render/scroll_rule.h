#pragma once

#include <cstdint>

// The arithmetic of the scrolling text pages, apart from any window.

constexpr int32_t kPageBottom = 580;
constexpr int32_t kTitleTop = 110;
constexpr int32_t kOneSectionFitLimit = kPageBottom - kTitleTop;  // 470, counted from the title line

// Height of measured text plus the external leading between its lines.
int32_t textExtent(int32_t measuredHeight, int32_t lineHeight, int32_t externalLeading);

struct ScrolledText {
    int32_t top;     // y of the text's first line
    int32_t scroll;  // the offset to store back
};

// Where a section's text starts (S when unscrolled) and the offset to keep:
// text that fits ignores the offset; past the end it stops with the last line
// ending at the page bottom.
ScrolledText applyScrollRule(int32_t start, int32_t extent, int32_t fitLimit, int32_t scroll);
