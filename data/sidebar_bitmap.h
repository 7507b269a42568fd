#pragma once

#include <windows.h>

#include <cstdint>

#include "base/win32_owners.h"
#include "data/record_list.h"

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

// The bitmaps that imagelist.txt lists, in order, skipping those that do not
// load; null when the list cannot be opened.
RecordList<SidebarBitmap>* readSidebarBitmaps(HWND hwnd);
