#include "base/dish_layout.h"

#include <cstring>

namespace {

// Fixed tops on the unscrolled page.
constexpr int32_t kDishNameTop = 110;
constexpr int32_t kPictureTop = 140;
constexpr int32_t kIngredientTitleTop = 140;
constexpr int32_t kFirstIngredientTop = 170;
// The steps' title does not move down when the ingredient table is long.
constexpr int32_t kStepTitleTop = 410;
constexpr int32_t kFirstStepTop = 440;
// The effect's title, moved down by every step and every long step.
constexpr int32_t kEffectTitleTop = 470;
constexpr int32_t kEffectBelowTitle = 20;
constexpr int32_t kOtherDishTitleBelowEffectTitle = 70;
constexpr int32_t kFirstOtherDishBelowEffectTitle = 100;

int32_t rowsShown(int32_t count) { return count < 0 ? 0 : count < kDishPageRows ? count : kDishPageRows; }

}  // namespace

int32_t estimateLineCount(const char* text, int32_t bytesPerLine) {
    if (!text || !*text) return 1;
    if (bytesPerLine <= 0) bytesPerLine = 1;
    int32_t lines = 0;
    const char* segment = text;
    while (true) {
        const char* newline = std::strchr(segment, '\n');
        std::size_t length = newline ? static_cast<std::size_t>(newline - segment) : std::strlen(segment);
        lines += static_cast<int32_t>(length / static_cast<std::size_t>(bytesPerLine)) + 1;
        if (!newline) break;
        segment = newline + 1;
    }
    if (text[std::strlen(text) - 1] == '\n') --lines;
    return lines;
}

DishPageLayout layoutDishPage(const DishPageTexts& texts, int32_t scroll) {
    const int32_t s = scroll;
    DishPageLayout layout;
    layout.dishNameY = kDishNameTop - s;
    layout.pictureY = kPictureTop - s;
    layout.ingredientTitleY = kIngredientTitleTop - s;

    // A row advances the table by its name's lines plus its amount's lines
    // less one: one line when both fit, more than the larger when both wrap.
    layout.ingredientCount = rowsShown(texts.ingredientCount);
    int32_t lines = 0;
    for (int32_t i = 0; i < layout.ingredientCount; ++i) {
        layout.ingredientY[i] = kFirstIngredientTop + kDishRowStep * lines - s;
        lines += estimateLineCount(texts.ingredientNames[i], kNameBytesPerLine);
        lines += estimateLineCount(texts.ingredientAmounts[i], kAmountBytesPerLine) - 1;
    }

    layout.stepTitleY = kStepTitleTop - s;
    layout.stepCount = rowsShown(texts.stepCount);
    int32_t wraps = 0;
    for (int32_t n = 0; n < layout.stepCount; ++n) {
        layout.stepY[n] = kFirstStepTop + kDishRowStep * (n + wraps) - s;
        if (std::strlen(texts.steps[n]) > kStepBytesPerLine) ++wraps;  // moves only the later steps
    }

    const int32_t effectTitle = kEffectTitleTop + kDishRowStep * (layout.stepCount + wraps) - s;
    layout.effectTitleY = effectTitle;
    layout.effectY = effectTitle + kEffectBelowTitle;
    layout.otherDishTitleY = effectTitle + kOtherDishTitleBelowEffectTitle;
    layout.otherDishCount = rowsShown(texts.otherDishCount);
    for (int32_t i = 0; i < layout.otherDishCount; ++i)
        layout.otherDishY[i] = effectTitle + kFirstOtherDishBelowEffectTitle + kDishRowStep * i;
    return layout;
}
