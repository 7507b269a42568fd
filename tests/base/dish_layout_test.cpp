#include "base/dish_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DishLayout, estimatesLinesBySegmentAndByte) {
    struct Case {
        std::string text;
        int32_t bytesPerLine;
        int32_t lines;
    } cases[] = {
        {std::string(18, 'x'), 19, 1},
        {std::string(19, 'x'), 19, 2},
        {"abc\n", 19, 1},
        {"", 19, 1},
        {"\n\n", 12, 2},
        {"\x91\xe5\x8d\xaa", 12, 1},  // two full-width characters are four bytes
        {"abc", 0, 4},                // a width of nothing counts every byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(estimateLineCount(c.text.c_str(), c.bytesPerLine), c.lines) << '"' << c.text << '"';
    EXPECT_EQ(estimateLineCount(nullptr, 19), 1);
}

// Eleven rows of each, scrolled by 30: ten are laid out. The 67/68-byte step
// rule is checked on the drawn page (tests/render/picture_pages_test.cpp).
TEST(DishLayout, placesEveryPartAndRow) {
    const std::string twoNameLines(19, 'n'), twoAmountLines(12, 'a'), twoStepLines(68, 's');
    DishPageTexts texts;
    texts.ingredientCount = texts.stepCount = texts.otherDishCount = 11;
    for (int i = 0; i < kDishPageRows; ++i)
        texts.ingredientNames[i] = texts.ingredientAmounts[i] = texts.steps[i] = "x";
    texts.ingredientNames[1] = twoNameLines.c_str();
    texts.ingredientAmounts[1] = twoAmountLines.c_str();
    texts.steps[0] = twoStepLines.c_str();
    DishPageLayout layout = layoutDishPage(texts, 30);
    EXPECT_EQ(layout.dishNameY, 110 - 30);
    EXPECT_EQ(layout.pictureY, 140 - 30);
    EXPECT_EQ(layout.ingredientTitleY, 140 - 30);
    EXPECT_EQ(layout.ingredientCount, 10);
    EXPECT_EQ(layout.ingredientY[1], 190 - 30) << "a row of one line each advances one line";
    EXPECT_EQ(layout.ingredientY[2], 250 - 30) << "2 and 2 lines advance 3";
    EXPECT_EQ(layout.ingredientY[9], 390 - 30);
    EXPECT_EQ(layout.stepTitleY, 410 - 30) << "a long table does not move the steps' title";
    EXPECT_EQ(layout.stepCount, 10);
    EXPECT_EQ(layout.stepY[0], 440 - 30);
    EXPECT_EQ(layout.stepY[1], 480 - 30) << "a step on two lines moves the later ones";
    EXPECT_EQ(layout.stepY[9], 640 - 30);
    EXPECT_EQ(layout.effectTitleY, 690 - 30);
    EXPECT_EQ(layout.effectY, 710 - 30);
    EXPECT_EQ(layout.otherDishTitleY, 760 - 30);
    EXPECT_EQ(layout.otherDishCount, 10);
    EXPECT_EQ(layout.otherDishY[0], 790 - 30);
    EXPECT_EQ(layout.otherDishY[9], 970 - 30);
}

}  // namespace
