#include "data/back_buffer.h"

#include "app/viewer_state.h"
#include "base/screen_layout.h"
#include "base/win32_owners.h"

void createBackBuffer(HWND hwnd, ViewerState* state) {
    WindowDC dc(hwnd);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kFrameWidth;
    info.bmiHeader.biHeight = kFrameHeight;  // rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    state->backBitmap = CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &state->backBits, nullptr, 0);
    state->memDC = CreateCompatibleDC(dc.get());
    if (state->memDC && state->backBitmap) SelectObject(state->memDC, state->backBitmap);
}
