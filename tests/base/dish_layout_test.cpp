#include "base/dish_layout.h"

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

namespace {

// The fixed parts' tops and the 67/68-byte step rule are checked on the drawn
// page (tests/render/picture_pages_test.cpp); these are the rows.
TEST(LayoutDishPage, RowsAdvanceByTheirEstimatedLines) {
    const std::string twoNameLines(19, 'n'), twoAmountLines(12, 'a');
    DishPageTexts texts;
    texts.ingredientCount = 3;
    const char* names[] = {"abc", twoNameLines.c_str(), "abc"};
    const char* amounts[] = {"1", twoAmountLines.c_str(), "1"};
    for (int i = 0; i < 3; ++i) {
        texts.ingredientNames[i] = names[i];
        texts.ingredientAmounts[i] = amounts[i];
    }
    DishPageLayout layout = layoutDishPage(texts, 30);
    EXPECT_EQ(layout.ingredientCount, 3);
    EXPECT_EQ(layout.ingredientY[0], 170 - 30);
    EXPECT_EQ(layout.ingredientY[1], 190 - 30) << "a row of one line each advances one line";
    EXPECT_EQ(layout.ingredientY[2], 250 - 30) << "2 and 2 lines advance 3";
    EXPECT_EQ(layout.stepTitleY, 410 - 30) << "a long table does not move the steps' title";
}

TEST(LayoutDishPage, ShowsAtMostTenRowsOfEach) {
    DishPageTexts texts;
    texts.ingredientCount = 11;
    texts.stepCount = 11;
    texts.otherDishCount = 11;
    for (int i = 0; i < kDishPageRows; ++i)
        texts.ingredientNames[i] = texts.ingredientAmounts[i] = texts.steps[i] = "x";
    DishPageLayout layout = layoutDishPage(texts, 0);
    EXPECT_EQ(layout.ingredientCount, 10);
    EXPECT_EQ(layout.stepCount, 10);
    EXPECT_EQ(layout.otherDishCount, 10);
    EXPECT_EQ(layout.stepY[9], 440 + 20 * 9);
    EXPECT_EQ(layout.effectTitleY, 470 + 20 * 10);
}

}  // namespace
