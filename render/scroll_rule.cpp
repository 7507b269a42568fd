#include "render/scroll_rule.h"

int32_t textExtent(int32_t measuredHeight, int32_t lineHeight, int32_t externalLeading) {
    if (lineHeight <= 0) return measuredHeight;
    return measuredHeight + (measuredHeight / lineHeight - 1) * externalLeading;
}

ScrolledText applyScrollRule(int32_t start, int32_t extent, int32_t fitLimit, int32_t scroll) {
    ScrolledText r{start - scroll, scroll};
    if (extent < fitLimit) return {start, 0};
    if (extent < kPageBottom - r.top) {
        r.top = kPageBottom - extent;
        r.scroll = start - r.top;
    }
    return r;
}
