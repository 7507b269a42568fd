#pragma once

#include <windows.h>

#include <cstdint>

#include "base/screen_layout.h"

struct ViewerState;

struct CategoryRange {
    int32_t first;
    int32_t count;
};

// (first entry, count) of category 1-7; {0, 0} for anything else.
CategoryRange categoryRange(int32_t category);
// 1-7, or 0 for the entries of no category.
int32_t categoryOfEntry(int32_t entry);
COLORREF entryBackgroundColor(int32_t entry);

// Top left corner of the label at list position k.
POINT listLabelOrigin(int32_t k);

void drawAllEntriesList(ViewerState* state);
void drawCategoryList(ViewerState* state, int32_t category);
