#pragma once

struct ViewerState;

// Draws the detail page of the entry `selected` into the back buffer.
void drawDetailPage(ViewerState* state);
