#include "tests/app/viewer_fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "data/scramble.h"

std::string fixtureDataText(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        std::string id = std::to_string(i);
        s += "sikibetu" + id + ",entry" + id + ",chinese,4,nature,taste,2,s1,s2,episode,components,kampo,,detail," +
             "summary,dish,1,name,amount,1,step,effect,1,other,advice,1,pair,1,supplement,\n";
    }
    return s;
}

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
    auto dir = std::filesystem::temp_directory_path() / (std::string("verdalis-") + info->test_suite_name() + "-" +
                                                         info->name());
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
    hwnd = CreateWindowExA(0, kViewerClassName, "Verdalis test", WS_CAPTION | WS_SYSMENU, 0, 0, kWindowWidth,
                           kWindowHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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

COLORREF ViewerTest::pixel(int x, int y) const { return GetPixel(state.memDC, x, y); }
