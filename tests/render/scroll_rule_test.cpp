#include "render/scroll_rule.h"

#include <gtest/gtest.h>

namespace {

TEST(TextExtent, AddsTheLeadingBetweenLines) {
    EXPECT_EQ(textExtent(180, 18, 0), 180);
    EXPECT_EQ(textExtent(180, 18, 2), 198) << "ten lines, nine gaps";
    EXPECT_EQ(textExtent(18, 18, 2), 18);
    EXPECT_EQ(textExtent(0, 18, 2), -2) << "an empty text: the rule's own arithmetic";
    EXPECT_EQ(textExtent(50, 0, 2), 50) << "no division by a zero line height";
}

TEST(ScrollRule, OneSectionPage) {
    const int32_t start = 128;  // 110 + an 18-pixel line
    struct Case {
        const char* what;
        int32_t extent;
        int32_t scroll;
        ScrolledText expected;
    } cases[] = {
        {"fits: the offset is dropped", 300, 90, {128, 0}},
        {"between 580 - S and 469 still counts as fitting", 469, 40, {128, 0}},
        {"long text, unscrolled", 470, 0, {128, 0}},
        {"long text, scrolled within", 1000, 100, {28, 100}},
        {"wheeled past the end stops at E + S - 580", 1000, 5000, {-420, 548}},
        {"exactly at the end", 1000, 548, {-420, 548}},
    };
    for (const Case& c : cases) {
        ScrolledText r = applyScrollRule(start, c.extent, kOneSectionFitLimit, c.scroll);
        EXPECT_EQ(r.top, c.expected.top) << c.what;
        EXPECT_EQ(r.scroll, c.expected.scroll) << c.what;
        if (c.extent >= kOneSectionFitLimit) {
            EXPECT_GE(r.top + c.extent, kPageBottom) << c.what;
        }
    }
}

TEST(ScrollRule, SecondSectionFitsAgainst600) {
    const int32_t start = 300;
    // Fit limit 600 - S = 300: an extent of 290 fits even though it runs past 580.
    EXPECT_EQ(applyScrollRule(start, 290, 600 - start, 77).scroll, 0);
    ScrolledText r = applyScrollRule(start, 400, 600 - start, 1000);
    EXPECT_EQ(r.top + 400, kPageBottom);
    EXPECT_EQ(r.scroll, 400 + start - kPageBottom);
}

}  // namespace
