#include "tests/support/viewer_fixture.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/main_window.h"
#include "data/scramble.h"

namespace {

// A bottom-up 24-bit BMP whose column x is colour(x) in every row (rows are
// padded to four bytes).
std::string bmpOf(int width, int height, const std::function<COLORREF(int)>& colour) {
    int rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER fh = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    fh.bfSize = fh.bfOffBits + rowBytes * height;
    BITMAPINFOHEADER ih = {sizeof ih, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string row(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
        COLORREF c = colour(x);
        row[3 * x] = static_cast<char>(GetBValue(c));
        row[3 * x + 1] = static_cast<char>(GetGValue(c));
        row[3 * x + 2] = static_cast<char>(GetRValue(c));
    }
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    for (int y = 0; y < height; ++y) bytes += row;
    return bytes;
}

void sendPointer(HWND hwnd, UINT message, WPARAM keys, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(hwnd, message, keys, MAKELPARAM(x, y));
}

}  // namespace

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

void writeDataFile(const std::string& path, const std::string& plainText) {
    std::string bytes = plainText;
    DataKey key = makeDataKey();
    scrambleBytes(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), 0, key.data(), key.size());
    writeFile(path, bytes);
}

void ViewerTest::SetUp() {
    static bool registered = makeViewerClass(GetModuleHandleA(nullptr)) != 0;
    ASSERT_TRUE(registered);
    previousFolder = std::filesystem::current_path().string();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("verdalis-") + info->test_suite_name() + "-" + info->name();
    folder = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
}

void ViewerTest::TearDown() {
    destroyWindow();
    SetCurrentDirectoryA(previousFolder.c_str());
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

HWND ViewerTest::createWindow() {
    hwnd = CreateWindowExA(0, kViewerClassName, "Verdalis test", WS_CAPTION | WS_SYSMENU, 0, 0, kFrameWidth,
                           kFrameHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd) ShowWindow(hwnd, SW_SHOWNORMAL);
    if (hwnd) UpdateWindow(hwnd);
    return hwnd;
}

void ViewerTest::destroyWindow() {
    if (hwnd) DestroyWindow(hwnd);
    hwnd = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the quit message included
    }
}

void ViewerTest::repaint() {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

void ViewerTest::paintDetail(int32_t entry, int32_t tab, int32_t scroll) {
    state.view = 1;
    state.selected = entry;
    state.tab = tab;
    state.scroll = scroll;
    repaint();
}

COLORREF ViewerTest::pixel(int x, int y) const { return GetPixel(state.memDC.get(), x, y); }

bool ViewerTest::showsText(int x, int y, const std::string& text, COLORREF ink, COLORREF paper) const {
    HDC page = state.memDC.get();
    HDC dc = CreateCompatibleDC(page);
    SelectObject(dc, GetCurrentObject(page, OBJ_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    HBITMAP bitmap = CreateCompatibleBitmap(page, size.cx, size.cy);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    SetTextColor(dc, ink);
    SetBkColor(dc, paper);
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    bool same = size.cx > 0;
    for (int dy = 0; dy < size.cy; ++dy)
        for (int dx = 0; dx < size.cx; ++dx) same = same && GetPixel(dc, dx, dy) == pixel(x + dx, y + dy);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return same;
}

std::string solidBmp(int width, int height, COLORREF colour) {
    return bmpOf(width, height, [colour](int) { return colour; });
}

void writeSidebarArt() {
    std::string list;
    for (int n = 0; n < kSidebarBitmapCount; ++n) {
        std::string name = "art" + std::to_string(n) + ".bmp";
        writeFile(name, bmpOf(n < 8 ? 10 : 180, n < 8 ? 600 : 50, [n](int x) { return sidebarColour(n, x); }));
        list += name + "\n";
    }
    writeFile("imagelist.txt", list + "EOF\n");
}

void moveTo(HWND hwnd, int x, int y) { sendPointer(hwnd, WM_MOUSEMOVE, 0, x, y); }

void clickAt(HWND hwnd, int x, int y) { sendPointer(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
