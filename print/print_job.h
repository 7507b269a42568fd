#pragma once

#include <windows.h>

struct ViewerState;

// Prints the entry on the detail page through the standard print dialog.
void printSelectedEntry(HWND hwnd, ViewerState* state);
