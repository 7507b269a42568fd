#pragma once

#include <windows.h>

#include "base/screen_layout.h"

constexpr char kViewerClassName[] = "QMViewer";

ATOM makeViewerClass(HINSTANCE instance);
// Loads the decoder library, creates and shows the window; false when there is no window.
bool createViewerWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK viewerWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The message loop; returns when the quit message arrives.
void runMessageLoop();
