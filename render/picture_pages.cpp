#include "render/picture_pages.h"

#include <cstdio>
#include <cstring>

#include "app/viewer_state.h"
#include "data/food_entry.h"
#include "data/picture.h"
#include "render/detail_page.h"
#include "base/dish_layout.h"
#include "render/frame.h"
#include "base/text_drawing.h"

namespace {

constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 200;
constexpr int kRowStep = 20;

// Every formatted text of the dish page goes through one buffer of this size;
// snprintf cuts what does not fit.
constexpr std::size_t kFormatBufferSize = 512;

void title(HDC dc, int x, int y, const char* text) {
    SetBkColor(dc, kTitleBackground);
    textOut(dc, x, y, text);
}

void wrapped(HDC dc, const char* text, int left, int top, int right) {
    drawWrapped(dc, text, RECT{left, top, right, kPageBottom});
}

void drawEntryPicture(ViewerState* state, const FoodEntry& entry, PictureKind kind, int x, int y) {
    Picture picture;
    loadEntryPicture(entry.id, kind, &picture, state);
    drawPicture(state->memDC, picture, x, y, kPictureWidth, kPictureHeight);
    freePicture(&picture);
}

}  // namespace

void drawPicturePage(ViewerState* state, const FoodEntry& entry) {
    drawEntryPicture(state, entry, PictureKind::ingredient, 330, 140);
}

void drawDishPage(ViewerState* state, const FoodEntry& entry) {
    HDC dc = state->memDC;
    const int s = state->scroll;
    char buffer[kFormatBufferSize];

    std::snprintf(buffer, sizeof buffer, "[%s]", entry.dishName);
    title(dc, 210, 110 - s, buffer);
    drawEntryPicture(state, entry, PictureKind::dish, 215, 140 - s);
    title(dc, 530, 140 - s, "[材料名]");

    SetBkColor(dc, kWhite);
    int32_t lines = 0;
    for (int32_t i = 0; i < entry.ingredientCount && i < kMaxDishRows; ++i) {
        int y = 170 + kRowStep * lines - s;
        const char* name = textOf(entry.ingredientNames[i]);
        const char* amount = textOf(entry.ingredientAmounts[i]);
        wrapped(dc, name, 535, y, 680);
        lines += estimateLineCount(name, kNameBytesPerLine);
        wrapped(dc, amount, 690, y, 780);
        lines += estimateLineCount(amount, kAmountBytesPerLine) - 1;
    }

    title(dc, 210, 410 - s, "[調理法]");
    SetBkColor(dc, kWhite);
    int32_t wraps = 0;
    int32_t steps = entry.stepCount < kMaxDishRows ? entry.stepCount : kMaxDishRows;
    for (int32_t n = 0; n < steps; ++n) {
        int y = (22 + n + wraps) * kRowStep - s;
        char number[8];
        std::snprintf(number, sizeof number, "%2d", static_cast<int>(n + 1));
        textOut(dc, 210, y, number);
        std::snprintf(buffer, sizeof buffer, "%s", textOf(entry.steps[n]));
        if (std::strlen(buffer) > kStepBytesPerLine) ++wraps;  // moves only the later steps
        wrapped(dc, buffer, 230, y, 770);
    }

    int y = 470 + kRowStep * (steps + wraps) - s;
    title(dc, 210, y, "[料理の効果]");
    SetBkColor(dc, kWhite);
    textOut(dc, 215, y + 20, textOf(entry.dishEffect));
    title(dc, 210, y + 70, "[その他の料理例]");
    SetBkColor(dc, kWhite);
    for (int32_t i = 0; i < entry.otherDishCount && i < kMaxDishRows; ++i) {
        std::snprintf(buffer, sizeof buffer, "○ %s", textOf(entry.otherDishes[i]));
        wrapped(dc, buffer, 215, y + 100 + kRowStep * i, 770);
    }
}
