#pragma once

#include <windows.h>

#include "base/win32_owners.h"

// The 800 x 600 24-bit DIB section, selected into a memory DC compatible with
// the window's, into which every frame is composed. Either handle is empty
// when GDI refuses it; the section is selected only when both exist.
struct BackBuffer {
    OwnedBitmap bitmap;  // declared first, so the DC it is selected into goes first
    OwnedDC dc;
    void* bits = nullptr;
};
BackBuffer newBackBuffer(HWND hwnd);
