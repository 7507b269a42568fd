#include "render/scroll_rule.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollRule, ATextFitsWhenItEndsAboveTheBottom) {
    EXPECT_EQ(textExtent(180, 18, 2), 198) << "ten lines, nine gaps";
    EXPECT_EQ(textExtent(50, 0, 2), 50) << "no division by a zero line height";
    EXPECT_EQ(pageBottom(575), 555) << "a client area under a 25-pixel caption and frame";
    EXPECT_EQ(pageBottom(900), 580) << "never below the frame's own column";
    struct Case {
        const char* what;
        int32_t start, bottom, extent, scroll;
        ScrolledText expected;
    } cases[] = {
        // S = 128: 110 plus an 18-pixel line.
        {"ends one pixel above the bottom: the offset is dropped", 128, 580, 451, 40, {128, 0}},
        {"ends exactly at the bottom: nothing to scroll", 128, 580, 452, 40, {128, 0}},
        {"would end below the bottom: it scrolls", 128, 580, 469, 40, {111, 17}},
        {"long text, scrolled within", 128, 580, 1000, 100, {28, 100}},
        {"wheeled past the end stops at E + S - bottom", 128, 555, 1000, 5000, {-445, 573}},
        {"a second section low on the page", 475, 555, 100, 30, {455, 20}},
    };
    for (const Case& c : cases) {
        ScrolledText r = applyScrollRule(c.start, c.extent, c.bottom, c.scroll);
        EXPECT_EQ(r.top, c.expected.top) << c.what;
        EXPECT_EQ(r.scroll, c.expected.scroll) << c.what;
    }
}

}  // namespace
