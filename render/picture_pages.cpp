#include "render/picture_pages.h"

// The picture and dish pages come with the picture decoder; until then they
// leave the page below the header white.
void drawPicturePage(ViewerState*, const FoodEntry&) {}
void drawDishPage(ViewerState*, const FoodEntry&) {}
