#include "data/back_buffer.h"

#include "base/screen_layout.h"

BackBuffer newBackBuffer(HWND hwnd) {
    WindowDC dc(hwnd);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kFrameWidth;
    info.bmiHeader.biHeight = kFrameHeight;  // rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    BackBuffer buffer;
    buffer.bitmap.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &buffer.bits, nullptr, 0));
    buffer.dc.reset(CreateCompatibleDC(dc.get()));
    if (buffer.dc.valid() && buffer.bitmap.valid()) SelectObject(buffer.dc.get(), buffer.bitmap.get());
    return buffer;
}
