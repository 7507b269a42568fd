#include "render/dish_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EstimateLineCount, CountsSegmentsByBytes) {
    struct Case {
        std::string text;
        int32_t bytesPerLine;
        int32_t lines;
    } cases[] = {
        {"abc", 19, 1},
        {std::string(38, 'x'), 19, 3},
        {"abc\n", 19, 1},
        {"abc\nde", 19, 2},
        {"", 19, 1},
        {std::string(18, 'x'), 19, 1},
        {std::string(19, 'x'), 19, 2},
        {"\n\n", 12, 2},
        {"\x91\xe5\x8d\xaa", 12, 1},  // two full-width characters are four bytes
        {"abc", 0, 4},                // a width of nothing counts every byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(estimateLineCount(c.text.c_str(), c.bytesPerLine), c.lines) << '"' << c.text << '"';
    EXPECT_EQ(estimateLineCount(nullptr, 19), 1);
}

}  // namespace
