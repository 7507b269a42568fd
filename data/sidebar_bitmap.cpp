#include "data/sidebar_bitmap.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/viewer_state.h"

namespace {

constexpr int32_t kMaxBitmapSide = 16384;
constexpr std::size_t kLineBufferSize = 260;

bool readExactly(HANDLE file, void* out, DWORD n) {
    DWORD got = 0;
    return ReadFile(file, out, n, &got, nullptr) && got == n;
}

// Bytes of the DIB section a header asks for, or 0 for a header we refuse:
// anything but plain 24-bit rows of a sane size.
std::size_t sectionBytes(const BITMAPINFOHEADER& h) {
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 24 || h.biPlanes != 1 || h.biCompression != BI_RGB)
        return 0;
    int64_t width = h.biWidth;
    int64_t height = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    if (width <= 0 || width > kMaxBitmapSide || height <= 0 || height > kMaxBitmapSide) return 0;
    return static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * height);
}

// Reads the next line into line without its line break. A line longer than the
// buffer is read to its end and refused. False at the end of the file.
bool readListLine(std::FILE* list, char (&line)[kLineBufferSize], bool& tooLong) {
    if (!std::fgets(line, sizeof line, list)) return false;
    std::size_t n = std::strlen(line);
    tooLong = n == sizeof line - 1 && line[n - 1] != '\n' && !std::feof(list);
    if (tooLong) {
        int c;
        while ((c = std::fgetc(list)) != EOF && c != '\n') {
        }
    }
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    return true;
}

}  // namespace

bool loadBitmapFile(SidebarBitmap* bitmap, HWND hwnd, const char* path) {
    OwnedFile file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER infoHeader;
    if (!readExactly(file.get(), &fileHeader, sizeof fileHeader) ||
        !readExactly(file.get(), &infoHeader, sizeof infoHeader))
        return false;
    std::size_t capacity = sectionBytes(infoHeader);
    if (capacity == 0 || fileHeader.bfSize < fileHeader.bfOffBits) return false;
    DWORD pixelBytes = fileHeader.bfSize - fileHeader.bfOffBits;
    // More pixel bytes than the section holds would be written past its end.
    if (pixelBytes > capacity) return false;
    if (SetFilePointer(file.get(), static_cast<LONG>(fileHeader.bfOffBits), nullptr, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER)
        return false;

    BITMAPINFO info = {};
    info.bmiHeader = infoHeader;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    void* bits = nullptr;
    OwnedBitmap section;
    {
        WindowDC dc(hwnd);
        section = OwnedBitmap{CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    }
    if (!section.get() || !bits) return false;
    if (!readExactly(file.get(), bits, pixelBytes)) return false;  // a truncated file

    bitmap->fileHeader = fileHeader;
    bitmap->infoHeader = infoHeader;
    bitmap->bitmapInfo = info;
    bitmap->section = std::move(section);
    bitmap->bits = bits;
    return true;
}

int32_t loadSidebarBitmaps(HWND hwnd, ViewerState* state) {
    std::FILE* list = std::fopen(kImageListFileName, "r");
    if (list) {
        state->bitmaps = createList<SidebarBitmap>();
        char line[kLineBufferSize];
        bool tooLong = false;
        // The list ends at a line EOF or, failing that, at the end of the file.
        while (readListLine(list, line, tooLong) && std::strcmp(line, "EOF") != 0) {
            if (tooLong || !line[0]) continue;
            auto bitmap = std::make_unique<SidebarBitmap>();
            if (loadBitmapFile(bitmap.get(), hwnd, line)) append(state->bitmaps, std::move(bitmap));
        }
        std::fclose(list);
    }
    // The frame is composed into the back buffer even without sidebar art.
    createBackBuffer(hwnd, state);
    return list ? 1 : 0;
}

void createBackBuffer(HWND hwnd, ViewerState* state) {
    WindowDC dc(hwnd);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kBackBufferWidth;
    info.bmiHeader.biHeight = kBackBufferHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    state->backBitmap = CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &state->backBits, nullptr, 0);
    state->memDC = CreateCompatibleDC(dc.get());
    if (state->memDC && state->backBitmap) SelectObject(state->memDC, state->backBitmap);
}
