#pragma once

#include <windows.h>

#include <cstdint>

#include "base/win32_owners.h"

struct ViewerState;

constexpr char kImageListFileName[] = "imagelist.txt";

// One 24-bit BMP of the sidebar, held in a DIB section that it owns.
class SidebarBitmap {
public:
    SidebarBitmap() = default;
    SidebarBitmap(const SidebarBitmap&) = delete;
    SidebarBitmap& operator=(const SidebarBitmap&) = delete;
    virtual ~SidebarBitmap() = default;

    BITMAPINFOHEADER infoHeader = {};
    BITMAPFILEHEADER fileHeader = {};
    OwnedBitmap section;
    BITMAPINFO bitmapInfo = {};
    void* bits = nullptr;
};

// Loads a 24-bit BMP into bitmap; false (bitmap unchanged) for anything else.
bool loadBitmapFile(SidebarBitmap* bitmap, HWND hwnd, const char* path);

// Loads the bitmaps that imagelist.txt lists, in order, then creates the back
// buffer. Returns 0 when the list cannot be opened (no list, but a back buffer).
int32_t loadSidebarBitmaps(HWND hwnd, ViewerState* state);
