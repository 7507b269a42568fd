#include "app/main_window.h"

#include "data/food_entry.h"
#include "tests/support/viewer_fixture.h"

namespace {

TEST_F(ViewerTest, DamagedDataGivesFewerEntriesAndNoLabelBeyondThem) {
    std::string text = dataTextOf(sampleEntries(127));
    writeDataFile("data", text.substr(0, text.size() / 2));
    ASSERT_NE(createWindow(), nullptr);
    ASSERT_GT(count(state.entries), 0);
    ASSERT_LT(count(state.entries), 127);
    moveTo(hwnd, 690, 470);  // where entry 126 would be
    EXPECT_EQ(state.selected, 0);
    clickAt(hwnd, 90, 375);  // category 7, of which the half holds nothing
    moveTo(hwnd, 250, 30);
    repaint();
    state.selected = 126;
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.view, 0) << "no entry 126 to open";
}

// The window the viewer opens: a fixed 800 x 600 frame that sidebar slot 10
// ends with exit code 0.
TEST_F(ViewerTest, TheViewerWindowIsAFixedFrameThatSlotTenEnds) {
    ASSERT_TRUE(createViewerWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    hwnd = FindWindowA(kViewerClassName, nullptr);
    ASSERT_NE(hwnd, nullptr);
    RECT frame;
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, 800);
    EXPECT_EQ(frame.bottom - frame.top, 600);
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    clickAt(hwnd, 90, 540);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

}  // namespace
