#pragma once

#include <windows.h>

#include <cstdint>

#include "base/screen_layout.h"

struct ViewerState;

// Composes the whole frame into the back buffer and copies it to the window.
void paintFrame(HWND hwnd, ViewerState* state);
void composeFrame(HWND hwnd, ViewerState* state);
