#include "render/scroll_rule.h"

#include <algorithm>

int32_t pageBottom(int32_t clientHeight) { return std::min(kPageBottom, clientHeight - kPageMargin); }

int32_t textExtent(int32_t measuredHeight, int32_t lineHeight, int32_t externalLeading) {
    if (lineHeight <= 0) return measuredHeight;
    return measuredHeight + (measuredHeight / lineHeight - 1) * externalLeading;
}

// The fit limit is the room between the text's start and the column bottom, so
// no text that counts as fitting can run past the bottom where the reader
// could not scroll to it.
ScrolledText applyScrollRule(int32_t start, int32_t extent, int32_t bottom, int32_t scroll) {
    ScrolledText r{start - scroll, scroll};
    if (extent < bottom - start) return {start, 0};
    if (extent < bottom - r.top) {
        r.top = bottom - extent;
        r.scroll = start - r.top;
    }
    return r;
}
