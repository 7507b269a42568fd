#include "render/picture_pages.h"

#include <cstdio>

#include "app/viewer_state.h"
#include "base/dish_layout.h"
#include "base/screen_layout.h"
#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "data/picture.h"

static_assert(kMaxDishRows == kDishPageRows, "the dish page shows every row an entry holds");

namespace {

constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 200;
constexpr int kIngredientPictureLeft = 330;
constexpr int kIngredientPictureTop = 140;

// Every formatted text of the dish page goes through one buffer of this size;
// snprintf cuts what does not fit.
constexpr std::size_t kFormatBufferSize = 512;

void title(HDC dc, int x, int y, const char* text) {
    SetBkColor(dc, kTitleBackground);
    textOut(dc, x, y, text);
}

// The page's texts stop at the bottom of the visible column, as the text pages do.
void wrapped(const ViewerState* state, const char* text, int left, int top, int right) {
    drawWrapped(state->memDC, text, RECT{left, top, right, state->pageBottom});
}

DishPageTexts dishTextsOf(const FoodEntry& entry) {
    DishPageTexts texts;
    texts.ingredientCount = entry.ingredientCount;
    texts.stepCount = entry.stepCount;
    texts.otherDishCount = entry.otherDishCount;
    for (std::size_t i = 0; i < kDishPageRows; ++i) {
        texts.ingredientNames[i] = textOf(entry.ingredientNames[i]);
        texts.ingredientAmounts[i] = textOf(entry.ingredientAmounts[i]);
        texts.steps[i] = textOf(entry.steps[i]);
    }
    return texts;
}

}  // namespace

void drawPicturePage(ViewerState* state, const FoodEntry& entry) {
    drawEntryPicture(state->memDC, entry.id, PictureKind::ingredient, state, kIngredientPictureLeft,
                     kIngredientPictureTop, kPictureWidth, kPictureHeight);
}

void drawDishPage(ViewerState* state, const FoodEntry& entry) {
    const DishPageLayout layout = layoutDishPage(dishTextsOf(entry), state->scroll);
    HDC dc = state->memDC;
    char buffer[kFormatBufferSize];

    std::snprintf(buffer, sizeof buffer, "[%s]", entry.dishName);
    title(dc, kDishTitleLeft, layout.dishNameY, buffer);
    drawEntryPicture(dc, entry.id, PictureKind::dish, state, kDishPictureLeft, layout.pictureY, kPictureWidth,
                     kPictureHeight);
    title(dc, kIngredientTitleLeft, layout.ingredientTitleY, "[材料名]");

    SetBkColor(dc, kWhite);
    for (int32_t i = 0; i < layout.ingredientCount; ++i) {
        const int y = layout.ingredientY[i];
        wrapped(state, textOf(entry.ingredientNames[i]), kIngredientNameLeft, y, kIngredientNameRight);
        wrapped(state, textOf(entry.ingredientAmounts[i]), kIngredientAmountLeft, y, kIngredientAmountRight);
    }

    title(dc, kDishTitleLeft, layout.stepTitleY, "[調理法]");
    SetBkColor(dc, kWhite);
    for (int32_t n = 0; n < layout.stepCount; ++n) {
        const int y = layout.stepY[n];
        char number[8];
        std::snprintf(number, sizeof number, "%2d", static_cast<int>(n + 1));
        textOut(dc, kDishTitleLeft, y, number);
        std::snprintf(buffer, sizeof buffer, "%s", textOf(entry.steps[n]));
        wrapped(state, buffer, kStepTextLeft, y, kDishTextRight);
    }

    title(dc, kDishTitleLeft, layout.effectTitleY, "[料理の効果]");
    SetBkColor(dc, kWhite);
    textOut(dc, kDishEffectLeft, layout.effectY, textOf(entry.dishEffect));
    title(dc, kDishTitleLeft, layout.otherDishTitleY, "[その他の料理例]");
    SetBkColor(dc, kWhite);
    for (int32_t i = 0; i < layout.otherDishCount; ++i) {
        std::snprintf(buffer, sizeof buffer, "○ %s", textOf(entry.otherDishes[i]));
        wrapped(state, buffer, kOtherDishLeft, layout.otherDishY[i], kDishTextRight);
    }
}
