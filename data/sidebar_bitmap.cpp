#include "data/sidebar_bitmap.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "data/sidebar_bmp.h"
#include "data/sidebar_list.h"

namespace {

// Reads up to n bytes; fewer only at the end of the file.
DWORD readUpTo(HANDLE file, void* out, DWORD n) {
    DWORD total = 0;
    while (total < n) {
        DWORD got = 0;
        if (!ReadFile(file, static_cast<char*>(out) + total, n - total, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

}  // namespace

bool loadBitmapFile(SidebarBitmap* bitmap, HWND hwnd, const char* path) {
    OwnedFile file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    uint8_t headers[kSidebarBmpHeaderBytes];
    if (readUpTo(file.get(), headers, sizeof headers) != sizeof headers) return false;
    SidebarBmpPlan plan = planSidebarBmp(headers);
    if (!plan.accepted) return false;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER infoHeader;
    static_assert(sizeof fileHeader == kBmpFileHeaderBytes && sizeof infoHeader == kBmpInfoHeaderBytes);
    std::memcpy(&fileHeader, headers, sizeof fileHeader);
    std::memcpy(&infoHeader, headers + sizeof fileHeader, sizeof infoHeader);

    // GDI reads as many header bytes as biSize says, and this BITMAPINFO has
    // room for the 40 that a 24-bit section needs, whatever the file's header.
    BITMAPINFO info = {};
    info.bmiHeader = infoHeader;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    void* bits = nullptr;
    OwnedBitmap section;
    {
        WindowDC dc(hwnd);
        section = OwnedBitmap{CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    }
    if (!section.get() || !bits) return false;  // a header GDI will not make a section of

    // Never more than the section holds; what a short file leaves unread stays zero.
    LARGE_INTEGER offset;
    offset.QuadPart = plan.pixelOffset;
    DWORD got = 0;
    if (SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) got = readUpTo(file.get(), bits, plan.readBytes);
    std::memset(static_cast<char*>(bits) + got, 0, plan.sectionBytes - got);

    bitmap->fileHeader = fileHeader;
    bitmap->infoHeader = infoHeader;
    bitmap->bitmapInfo = info;
    bitmap->section = std::move(section);
    bitmap->bits = bits;
    return true;
}

RecordList<SidebarBitmap>* readSidebarBitmaps(HWND hwnd) {
    std::FILE* list = std::fopen(kImageListFileName, "r");
    if (!list) return nullptr;
    auto* bitmaps = createList<SidebarBitmap>();
    char path[kListLineBufferSize];
    for (ListLine line; (line = readSidebarListLine(list, path)) != ListLine::end;) {
        if (line != ListLine::path) continue;
        auto bitmap = std::make_unique<SidebarBitmap>();
        if (loadBitmapFile(bitmap.get(), hwnd, path)) append(bitmaps, std::move(bitmap));
    }
    std::fclose(list);
    return bitmaps;
}
