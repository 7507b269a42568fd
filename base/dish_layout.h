#pragma once

#include <cstddef>
#include <cstdint>

#include "base/screen_layout.h"

// Where the dish page (tab 6) puts each of its parts, apart from any window:
// the page draws at these positions, and the content tool warns about texts
// that need more room than they allow for.

// The page shows at most this many ingredient rows, steps and other dishes.
constexpr int32_t kDishPageRows = 10;

// Every formatted text of the page goes through one buffer of this size; what
// does not fit is cut. An other dish is drawn after this mark, which takes
// kOtherDishMarkBytes of the buffer in Shift-JIS.
constexpr std::size_t kDishTextBufferSize = 512;
constexpr char kOtherDishMark[] = "○ ";
constexpr std::size_t kOtherDishMarkBytes = 3;

// Columns, in pixels of the frame.
constexpr int kDishTitleLeft = kColumnLeft;  // the section titles, the dish name and the step numbers
constexpr int kDishPictureLeft = 215;
constexpr int kIngredientTitleLeft = 530;
constexpr int kIngredientNameLeft = 535;
constexpr int kIngredientNameRight = 680;
constexpr int kIngredientAmountLeft = 690;
constexpr int kIngredientAmountRight = 780;
constexpr int kStepTextLeft = 230;
constexpr int kDishTextRight = kColumnRight;  // steps and other dishes
constexpr int kDishEffectLeft = 215;
constexpr int kOtherDishLeft = 215;
constexpr int kDishRowStep = 20;  // one line of the page's text

// Bytes a line holds in the ingredient table's name (145-pixel) and amount
// (90-pixel) columns.
constexpr int32_t kNameBytesPerLine = 19;
constexpr int32_t kAmountBytesPerLine = 12;
// A cooking step longer than this is taken to wrap onto a second line; a
// third line is not allowed for.
constexpr std::size_t kStepBytesPerLine = 67;
// The dish's effect is drawn on one line without wrapping; what is longer
// runs off the page.
constexpr std::size_t kDishEffectBytesPerLine = 70;

// Estimated lines of a text at bytesPerLine bytes a line: each newline-separated
// segment counts its length / bytesPerLine + 1; a final newline adds no line;
// an empty text counts 1.
int32_t estimateLineCount(const char* text, int32_t bytesPerLine);

// What the layout needs of an entry's dish. Counts above kDishPageRows are
// taken as kDishPageRows; the texts of the rows counted must not be null.
struct DishPageTexts {
    int32_t ingredientCount = 0;
    const char* ingredientNames[kDishPageRows] = {};
    const char* ingredientAmounts[kDishPageRows] = {};
    int32_t stepCount = 0;
    const char* steps[kDishPageRows] = {};
    int32_t otherDishCount = 0;
};

// The top y of every part of the dish page, already moved up by the scroll
// offset. The ingredient rows move down by their estimated lines, the steps
// by the long steps before them; the steps' title stays where it is.
struct DishPageLayout {
    int32_t dishNameY = 0;  // "[dish name]"
    int32_t pictureY = 0;
    int32_t ingredientTitleY = 0;
    int32_t ingredientCount = 0;
    int32_t ingredientY[kDishPageRows] = {};
    int32_t stepTitleY = 0;
    int32_t stepCount = 0;
    int32_t stepY[kDishPageRows] = {};
    int32_t effectTitleY = 0;
    int32_t effectY = 0;
    int32_t otherDishTitleY = 0;
    int32_t otherDishCount = 0;
    int32_t otherDishY[kDishPageRows] = {};
};

DishPageLayout layoutDishPage(const DishPageTexts& texts, int32_t scroll);
