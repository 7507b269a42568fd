#pragma once

#include <windows.h>

struct ViewerState;

// The 800 x 600 24-bit DIB section, selected into a memory DC compatible with
// the window's, into which every frame is composed: `backBitmap`, `backBits`
// and `memDC` of the state.
void createBackBuffer(HWND hwnd, ViewerState* state);
