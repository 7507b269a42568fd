#include "render/picture_pages.h"

#include <cstdio>

#include "base/dish_layout.h"
#include "base/screen_layout.h"
#include "base/section_titles.h"
#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "data/picture.h"
#include "state/viewer_state.h"

static_assert(kMaxDishRows == kDishPageRows, "the dish page shows every row an entry holds");
static_assert(sizeof kOtherDishMark - 1 == kOtherDishMarkBytes, "the mark as the content tool counts it");

namespace {

constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 200;
constexpr int kIngredientPictureLeft = 330;
constexpr int kIngredientPictureTop = 140;

void title(HDC dc, int x, int y, const char* text) {
    SetBkColor(dc, kTitleBackground);
    textOut(dc, x, y, text);
}

// The page's texts stop at the bottom of the visible column, as the text pages do.
void wrapped(const ViewerState* state, const char* text, int left, int top, int right) {
    drawWrapped(state->memDC.get(), text, RECT{left, top, right, state->pageBottom});
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
    drawEntryPicture(state->memDC.get(), entry.id, PictureKind::ingredient, decoderOf(state), kIngredientPictureLeft,
                     kIngredientPictureTop, kPictureWidth, kPictureHeight);
}

void drawDishPage(ViewerState* state, const FoodEntry& entry) {
    const DishPageLayout layout = layoutDishPage(dishTextsOf(entry), state->scroll);
    HDC dc = state->memDC.get();
    char buffer[kDishTextBufferSize];

    std::snprintf(buffer, sizeof buffer, "[%s]", entry.dishName);
    title(dc, kDishTitleLeft, layout.dishNameY, buffer);
    drawEntryPicture(dc, entry.id, PictureKind::dish, decoderOf(state), kDishPictureLeft, layout.pictureY,
                     kPictureWidth, kPictureHeight);
    title(dc, kIngredientTitleLeft, layout.ingredientTitleY, kIngredientsTitle);

    SetBkColor(dc, kWhite);
    for (int32_t i = 0; i < layout.ingredientCount; ++i) {
        const int y = layout.ingredientY[i];
        wrapped(state, textOf(entry.ingredientNames[i]), kIngredientNameLeft, y, kIngredientNameRight);
        wrapped(state, textOf(entry.ingredientAmounts[i]), kIngredientAmountLeft, y, kIngredientAmountRight);
    }

    title(dc, kDishTitleLeft, layout.stepTitleY, kStepsTitle);
    SetBkColor(dc, kWhite);
    for (int32_t n = 0; n < layout.stepCount; ++n) {
        const int y = layout.stepY[n];
        char number[8];
        std::snprintf(number, sizeof number, "%2d", static_cast<int>(n + 1));
        textOut(dc, kDishTitleLeft, y, number);
        std::snprintf(buffer, sizeof buffer, "%s", textOf(entry.steps[n]));
        wrapped(state, buffer, kStepTextLeft, y, kDishTextRight);
    }

    title(dc, kDishTitleLeft, layout.effectTitleY, kDishEffectTitle);
    SetBkColor(dc, kWhite);
    textOut(dc, kDishEffectLeft, layout.effectY, textOf(entry.dishEffect));
    title(dc, kDishTitleLeft, layout.otherDishTitleY, kOtherDishesTitle);
    SetBkColor(dc, kWhite);
    for (int32_t i = 0; i < layout.otherDishCount; ++i) {
        std::snprintf(buffer, sizeof buffer, "%s%s", kOtherDishMark, textOf(entry.otherDishes[i]));
        wrapped(state, buffer, kOtherDishLeft, layout.otherDishY[i], kDishTextRight);
    }
}
