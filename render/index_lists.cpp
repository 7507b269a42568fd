#include "render/index_lists.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "state/viewer_state.h"

namespace {

void drawLabel(HDC dc, int32_t position, int32_t entryIndex, const FoodEntry& entry, int32_t selected) {
    char label[48];
    std::snprintf(label, sizeof label, "%d.%s", static_cast<int>(position), entry.name);
    bool highlighted = entryIndex == selected;
    SetTextColor(dc, highlighted ? kSelectedText : kBodyText);
    SetBkColor(dc, highlighted ? kSelectedBackground : entryBackgroundColor(entryIndex));
    POINT at = listLabelOrigin(position);
    textOut(dc, at.x, at.y, label);
}

// Draws positions 0.. of a list whose first entry is `first`, as far as the
// entries reach.
void drawList(ViewerState* state, int32_t first, int32_t length) {
    int32_t available = count(state->entries) - first;
    length = std::min(length, available);
    const RecordNode<FoodEntry>* node = state->entries ? state->entries->next : nullptr;
    for (int32_t i = 0; node && i < first; ++i) node = node->next;
    for (int32_t k = 0; node && k < length; ++k, node = node->next)
        drawLabel(state->memDC.get(), k, first + k, *node->payload, state->selected);
}

}  // namespace

CategoryRange categoryRange(int32_t category) {
    if (category < 1 || category > kCategoryCount) return {0, 0};
    const CategoryRow& row = kCategories[category - 1];
    return {row.first, row.count};
}

int32_t categoryOfEntry(int32_t entry) {
    for (int32_t c = 1; c <= kCategoryCount; ++c) {
        const CategoryRow& row = kCategories[c - 1];
        if (entry >= row.first && entry < row.first + row.count) return c;
    }
    return 0;
}

COLORREF entryBackgroundColor(int32_t entry) {
    for (const CategoryRow& row : kCategories)
        if (entry >= row.first && entry < row.first + row.count) return row.background;
    return kCategories[kCategoryCount].background;
}

POINT listLabelOrigin(int32_t k) {
    return {kListLeft + kListColumnWidth * (k / kListRowsPerColumn), kListRowHeight * (k % kListRowsPerColumn + 1)};
}

void drawAllEntriesList(ViewerState* state) { drawList(state, 0, count(state->entries)); }

void drawCategoryList(ViewerState* state, int32_t category) {
    if (state->category > kCategoryCount || category < 1 || category > kCategoryCount) return;
    CategoryRange range = categoryRange(category);
    drawList(state, range.first, range.count);
}
