#include "app/pointer_input.h"

#include <array>
#include <thread>

#include "tests/support/viewer_fixture.h"

namespace {

enum Event { kMove, kClick, kDrag, kWheel };

// One pointer event through the window and the state it leaves.
struct Step {
    const char* what;
    Event event;
    int x, y;  // the wheel's delta in x
    int32_t view, category, selected, tab, scroll;
};

// Entry k of a list is labelled at x 200 + 120 * (k / 26), y 20 * (k % 26 + 1).
constexpr Step kSteps[] = {
    {"nothing hovered yet: a press opens entry 0 in its category", kClick, 600, 590, 1, 1, 0, 0, 0},
    {"hovering over the detail page changes nothing", kMove, 330, 30, 1, 1, 0, 0, 0},
    {"the last tab", kClick, 770, 90, 1, 1, 0, 7, 0},
    {"the first tab", kClick, 250, 90, 1, 1, 0, 1, 0},
    {"a notch toward the user scrolls down", kWheel, -120, 0, 1, 1, 0, 1, 12},
    {"a half notch away scrolls up", kWheel, 60, 0, 1, 1, 0, 1, 6},
    {"a press between two tabs keeps the tab and resets the offset", kClick, 297, 90, 1, 1, 0, 1, 0},
    {"a move without the button only remembers y", kMove, 500, 300, 1, 1, 0, 1, 0},
    {"dragging down by 30 scrolls down by 30", kDrag, 500, 330, 1, 1, 0, 1, 30},
    {"dragging up past the top stops at 0", kDrag, 500, 250, 1, 1, 0, 1, 0},
    {"a press on the sidebar's right edge", kClick, 180, 30, 1, 1, 0, 1, 0},
    {"a press in the gap under slot 7", kClick, 90, 410, 1, 1, 0, 1, 0},
    {"slot 3 shows its list", kClick, 90, 175, 0, 3, 0, 1, 0},
    {"the third label of category 3", kMove, 250, 70, 0, 3, 75, 0, 0},
    {"below the category's three labels", kMove, 250, 90, 0, 3, 75, 0, 0},
    {"y 50 is still slot 0", kClick, 90, 50, 0, 0, 75, 0, 0},
    {"a held button on the index hovers", kDrag, 330, 30, 0, 0, 26, 0, 0},
    {"a row boundary selects nothing", kMove, 330, 40, 0, 0, 26, 0, 0},
    {"the wheel does nothing on the index", kWheel, -120, 0, 0, 0, 26, 0, 0},
    {"the last entry of category 7", kMove, 690, 370, 0, 0, 121, 0, 0},
    {"opens in category 7", kClick, 500, 300, 1, 7, 121, 0, 0},
    {"y 51 is slot 1", kClick, 90, 51, 0, 1, 121, 0, 0},
    {"slot 0 again", kClick, 90, 25, 0, 0, 121, 0, 0},
    {"entry 126", kMove, 690, 470, 0, 0, 126, 0, 0},
    {"entries after category 7 open in none", kClick, 790, 595, 1, 0, 126, 0, 0},
};

void setButton(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(ViewerTest, PointerEventsThroughTheWindow) {
    writeDataFile("data", dataTextOf(sampleEntries(127)));
    ASSERT_NE(createWindow(), nullptr);
    for (const Step& s : kSteps) {
        if (s.event == kMove) moveTo(hwnd, s.x, s.y);
        if (s.event == kClick) clickAt(hwnd, s.x, s.y);
        if (s.event == kWheel) SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(s.x)), 0);
        if (s.event == kDrag) {
            setButton(true);
            moveTo(hwnd, s.x, s.y);
            setButton(false);
        }
        EXPECT_EQ((std::array{state.view, state.category, state.selected, state.tab, state.scroll}),
                  (std::array{s.view, s.category, s.selected, s.tab, s.scroll}))
            << s.what << " (view, category, selected, tab, scroll)";
    }
}

BOOL CALLBACK collectText(HWND child, LPARAM out) {
    char text[128] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(out) += std::string(text) + "|";
    return TRUE;
}

TEST_F(ViewerTest, TheHintBoxSwallowsTheNextContentPress) {
    writeDataFile("data", dataTextOf(sampleEntries(127)));
    ASSERT_NE(createWindow(), nullptr);
    // A second thread reads the box and closes it, as a user's click on OK would.
    std::string shown;
    bool modal = false;
    std::thread closer([&] {
        HWND box = nullptr;
        for (int i = 0; i < 400 && !(box = FindWindowA("#32770", nullptr)); ++i) Sleep(25);
        if (!box) return;
        collectText(box, reinterpret_cast<LPARAM>(&shown));
        EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&shown));
        modal = GetWindow(box, GW_OWNER) == hwnd && !IsWindowEnabled(hwnd);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    clickAt(hwnd, 90, 440);  // slot 8 on the index: the press returns once the box has closed
    closer.join();
    EXPECT_EQ(shown.rfind("ヒント|", 0), 0u) << "the caption: " << shown;
    EXPECT_NE(shown.find("|何か項目を選択してください|"), std::string::npos) << shown;
    EXPECT_TRUE(modal) << "owned by the viewer, which takes no input meanwhile";
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    clickAt(hwnd, 90, 25);  // sidebar presses do not clear it
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.view, 0) << "the consumed press opens nothing";
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.view, 1);
}

}  // namespace
