#pragma once

struct ViewerState;
struct FoodEntry;

// The ingredient picture (tab 0) and the dish page (tab 6).
void drawPicturePage(ViewerState* state, const FoodEntry& entry);
void drawDishPage(ViewerState* state, const FoodEntry& entry);
