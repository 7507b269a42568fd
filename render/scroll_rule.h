#pragma once

#include <cstdint>

#include "base/screen_layout.h"

// The arithmetic of the scrolling text pages, apart from any window.

// Bottom of the text column in a client area `clientHeight` pixels high: the
// window's caption and frame take part of its 600 pixels, and a text scrolled
// to its end must still show its last line whole above the margin.
int32_t pageBottom(int32_t clientHeight);

// Height of measured text plus the external leading between its lines.
int32_t textExtent(int32_t measuredHeight, int32_t lineHeight, int32_t externalLeading);

struct ScrolledText {
    int32_t top;     // y of the text's first line
    int32_t scroll;  // the offset to store back
};

// Where a section's text starts (S when unscrolled) and the offset to keep,
// for a column ending at `bottom`: a text that ends above the bottom fits and
// ignores the offset; a longer one scrolls and stops with its last line
// ending at the bottom.
ScrolledText applyScrollRule(int32_t start, int32_t extent, int32_t bottom, int32_t scroll);
