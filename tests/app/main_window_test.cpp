#include "app/main_window.h"

#include <filesystem>

#include "data/food_entry.h"
#include "data/sidebar_bitmap.h"
#include "tests/support/viewer_fixture.h"

namespace {

TEST_F(ViewerTest, CreationLoadsEntriesAndTheBackBuffer) {
    writeDataFile("data", dataTextOf(sampleEntries(127)));
    ASSERT_NE(createWindow(), nullptr);
    ASSERT_NE(state.entries, nullptr);
    ASSERT_EQ(count(state.entries), 127);
    for (int i = 0; i < 127; ++i) EXPECT_EQ(at(state.entries, i)->id, i);
    EXPECT_NE(state.memDC.get(), nullptr);
    EXPECT_NE(state.backBitmap.get(), nullptr);
    EXPECT_EQ(state.bitmaps, nullptr) << "no imagelist.txt here";
    EXPECT_EQ(state.category, 0);
    EXPECT_EQ(state.selected, 0);
    EXPECT_EQ(state.view, 0);
}

TEST_F(ViewerTest, MissingOrDamagedDataGivesFewerEntries) {
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_EQ(count(state.entries), 0);
    destroyWindow();
    std::string text = dataTextOf(sampleEntries(127));
    writeDataFile("data", text.substr(0, text.size() / 2));
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_GT(count(state.entries), 0);
    EXPECT_LT(count(state.entries), 127);
}

TEST_F(ViewerTest, DestroyTearsDownAndPostsQuitWithZero) {
    writeDataFile("data", dataTextOf(sampleEntries(3)));
    ASSERT_NE(createWindow(), nullptr);
    ASSERT_NE(state.memDC.get(), nullptr);
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    DestroyWindow(hwnd);
    hwnd = nullptr;
    EXPECT_EQ(state.entries, nullptr);
    EXPECT_EQ(state.bitmaps, nullptr);
    EXPECT_EQ(state.memDC.get(), nullptr);
    EXPECT_EQ(state.backBitmap.get(), nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

// The real exe, as a user starts it: it must end with exit code 0 both when its
// window is closed and after sidebar slot 10.
class ViewerProcess : public ViewerTest {
protected:
    PROCESS_INFORMATION start() {
        std::string exe = exePath();
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::string commandLine = "\"" + exe + "\"";
        EXPECT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                   &si, &pi));
        return pi;
    }
    static std::string exePath() {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, sizeof self);
        return (std::filesystem::path(self).parent_path() / "stage" / "verdalis.exe").string();
    }
    static HWND waitForWindow(DWORD processId) {
        for (int i = 0; i < 200; ++i) {
            HWND w = nullptr;
            while ((w = FindWindowExA(nullptr, w, kViewerClassName, nullptr))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == processId && IsWindowVisible(w)) return w;
            }
            Sleep(50);
        }
        return nullptr;
    }
    static DWORD exitCode(PROCESS_INFORMATION& pi) {
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    }
};

TEST_F(ViewerProcess, ClosingTheWindowExitsWithZero) {
    writeDataFile("data", dataTextOf(sampleEntries(127)));
    PROCESS_INFORMATION pi = start();
    HWND w = waitForWindow(pi.dwProcessId);
    ASSERT_NE(w, nullptr);
    char caption[64] = {};
    GetWindowTextA(w, caption, sizeof caption);
    EXPECT_STREQ(caption, "Verdalis　ver1.0");
    RECT frame;
    GetWindowRect(w, &frame);
    EXPECT_EQ(frame.right - frame.left, 800);
    EXPECT_EQ(frame.bottom - frame.top, 600);
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    PostMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(pi), 0u);
}

TEST_F(ViewerProcess, ExeCarriesOne32By32SixteenColourIcon) {
    HMODULE exe = LoadLibraryExA(exePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC group = FindResourceA(exe, MAKEINTRESOURCEA(106), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(dir[4], 1) << "one image";
    EXPECT_EQ(dir[6], 32);
    EXPECT_EQ(dir[7], 32);
    EXPECT_EQ(dir[8], 16) << "16 colours";
    FreeLibrary(exe);
}

TEST_F(ViewerProcess, QuitSlotExitsWithZeroWithoutAnyFile) {
    PROCESS_INFORMATION pi = start();
    HWND w = waitForWindow(pi.dwProcessId);
    ASSERT_NE(w, nullptr);
    POINT quit = {90, 540};  // sidebar slot 10
    ClientToScreen(w, &quit);
    SetCursorPos(quit.x, quit.y);
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 540));
    EXPECT_EQ(exitCode(pi), 0u);
}

}  // namespace
