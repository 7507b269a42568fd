#pragma once

#include <windows.h>

struct ViewerState;
struct FoodEntry;

// The six text pages; the scrolling ones clamp `scroll` and store it back.
void drawEpisodePage(ViewerState* state, const FoodEntry& entry);
void drawKampoPage(ViewerState* state, const FoodEntry& entry);
void drawWesternPage(ViewerState* state, const FoodEntry& entry);
void drawEffectPage(ViewerState* state, const FoodEntry& entry);
void drawSymptomsPage(ViewerState* state, const FoodEntry& entry);
void drawAdvicePage(ViewerState* state, const FoodEntry& entry);

// Height of the text wrapped to the rectangle's width, as drawWrapped draws it.
int measureText(const char* text, HDC dc, const RECT& rect);
