#pragma once

#include <windows.h>

#include <cstdint>

struct ViewerState;

constexpr int32_t kCategoryCount = 7;
constexpr int kListLeft = 200;
constexpr int kListColumnWidth = 120;
constexpr int kListRowHeight = 20;
constexpr int kListRowsPerColumn = 26;

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

void drawAllEntriesList(HWND hwnd, ViewerState* state);
void drawCategoryList(HWND hwnd, ViewerState* state, int32_t category);
