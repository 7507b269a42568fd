#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/screen_layout.h"

struct ViewerState;
struct FoodEntry;

// The header's season value: " 4月 " for a month, " 一年中 " for 0.
void formatSeason(int32_t month, char* out, std::size_t size);

// Draws the detail page of the entry `selected` into the back buffer.
void drawDetailPage(ViewerState* state);
// Draws the page of a tab 0-7; any other tab draws nothing.
void drawTabPage(ViewerState* state, int32_t tab, const FoodEntry& entry);
// Draws the label of label index 0-6 at its place in the tab bar, in the colours set.
void drawTabLabel(ViewerState* state, int32_t labelIndex);
