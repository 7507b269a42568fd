#include "tests/support/viewer_fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "data/scramble.h"

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeDataFile(const std::string& path, const std::string& plainText) {
    std::string bytes = plainText;
    DataKey key = makeDataKey();
    scrambleBytes(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), 0, key.data(), key.size());
    writeFile(path, bytes);
}

void ViewerTest::SetUp() {
    static bool registered = makeViewerClass(GetModuleHandleA(nullptr)) != 0;
    ASSERT_TRUE(registered);
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    previousFolder = buffer;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::temp_directory_path() /
               (std::string("verdalis-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    folder = dir.string();
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
    if (hwnd) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

void ViewerTest::destroyWindow() {
    if (hwnd) DestroyWindow(hwnd);
    hwnd = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the quit message included
    }
}

void ViewerTest::pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchMessageA(&msg);
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

std::string solidBmp(int width, int height, COLORREF colour, int bitCount) {
    int rowBytes = (width * bitCount / 8 + 3) / 4 * 4;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + rowBytes * height;
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = static_cast<WORD>(bitCount);
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    std::string row(rowBytes, '\0');
    for (int x = 0; x * 3 + 2 < rowBytes && bitCount == 24; ++x) {
        row[x * 3] = static_cast<char>(GetBValue(colour));
        row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
        row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
    }
    for (int y = 0; y < height; ++y) bytes += row;
    return bytes;
}

void writeSidebarArt() {
    std::string list;
    for (int n = 0; n < 30; ++n) {
        bool strip = n < 8;
        int width = strip ? 10 : 180, height = strip ? 600 : 50;
        std::string bmp = solidBmp(width, height, 0);
        int rowBytes = (width * 3 + 3) / 4 * 4;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                COLORREF c = sidebarColour(n, x);
                char* p = bmp.data() + 54 + y * rowBytes + x * 3;
                p[0] = static_cast<char>(GetBValue(c));
                p[1] = static_cast<char>(GetGValue(c));
                p[2] = static_cast<char>(GetRValue(c));
            }
        std::string name = "art" + std::to_string(n) + ".bmp";
        writeFile(name, bmp);
        list += name + "\n";
    }
    writeFile("imagelist.txt", list + "EOF\n");
}

void moveTo(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void clickAt(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}
