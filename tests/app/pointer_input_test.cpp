#include "app/pointer_input.h"

#include <atomic>
#include <thread>

#include "data/food_entry.h"
#include "data/sidebar_bitmap.h"
#include "render/index_lists.h"
#include "tests/support/viewer_fixture.h"

namespace {

class NavigationTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        writeDataFile("data", dataTextOf(sampleEntries(127)));
        writeSidebarArt();
        ASSERT_NE(createWindow(), nullptr);
        pumpMessages();
    }
    void openDetail(int32_t entry, int32_t tab = 1) {
        state.selected = entry;
        state.view = 1;
        state.tab = tab;
    }
};

TEST_F(NavigationTest, SidebarSlotEdges) {
    struct Case {
        int x, y;
        int32_t slot;
    } cases[] = {{90, 50, 0},  {90, 51, 1},   {90, 1, 0},    {90, 0, -1},  {0, 30, -1},   {179, 30, 0}, {180, 30, -1},
                 {90, 400, 7}, {90, 401, -1}, {90, 418, -1}, {90, 419, 8}, {90, 568, 10}, {90, 569, -1}};
    for (const Case& c : cases) EXPECT_EQ(sidebarSlotAt(c.x, c.y), c.slot) << c.x << "," << c.y;
}

TEST_F(NavigationTest, PressesOnTheSidebarEdgesAndGap) {
    openDetail(3);
    state.scroll = 40;
    clickAt(hwnd, 180, 30);  // neither sidebar nor content
    EXPECT_EQ(state.view, 1);
    EXPECT_EQ(state.scroll, 0);
    clickAt(hwnd, 90, 410);  // the gap under slot 7
    EXPECT_EQ(state.view, 1);
    clickAt(hwnd, 90, 51);
    EXPECT_EQ(state.view, 0);
    EXPECT_EQ(state.category, 1);
    clickAt(hwnd, 90, 50);
    EXPECT_EQ(state.category, 0);
}

TEST_F(NavigationTest, HoverSelectsAndAPressOpensTheLastHovered) {
    clickAt(hwnd, 600, 590);  // nothing hovered yet: entry 0 opens in category 1
    EXPECT_EQ(state.view, 1);
    EXPECT_EQ(state.selected, 0);
    EXPECT_EQ(state.category, 1);
    clickAt(hwnd, 90, 25);  // back to all entries
    moveTo(hwnd, 330, 30);  // column 1, row 0: entry 26
    EXPECT_EQ(state.selected, 26);
    moveTo(hwnd, 330, 40);  // exactly on a row boundary: nothing
    EXPECT_EQ(state.selected, 26);
    state.tab = 5;
    moveTo(hwnd, 690, 470);  // entry 126
    EXPECT_EQ(state.selected, 126);
    EXPECT_EQ(state.tab, 0);
    clickAt(hwnd, 790, 595);
    EXPECT_EQ(state.view, 1);
    EXPECT_EQ(state.category, 0) << "entries 122-126 open in the all-entries list";
}

TEST_F(NavigationTest, CategoryListHoverUsesTheCategoryRange) {
    clickAt(hwnd, 90, 175);  // slot 3
    ASSERT_EQ(state.category, 3);
    moveTo(hwnd, 250, 70);  // third label of category 3
    EXPECT_EQ(state.selected, 75);
    moveTo(hwnd, 250, 90);  // below the three labels
    EXPECT_EQ(state.selected, 75);
}

TEST_F(NavigationTest, TabBarAndWheel) {
    openDetail(10, 1);
    clickAt(hwnd, 250, 90);
    EXPECT_EQ(state.tab, 1);
    clickAt(hwnd, 770, 90);
    EXPECT_EQ(state.tab, 7) << "the last tab";
    clickAt(hwnd, 600, 90);
    EXPECT_EQ(state.tab, 5);
    state.scroll = 33;
    clickAt(hwnd, 297, 90);  // between two tabs
    EXPECT_EQ(state.tab, 5);
    EXPECT_EQ(state.scroll, 0);
    SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(state.scroll, 12) << "a notch toward the user scrolls down";
    state.scroll = 5;
    SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(state.scroll, 0);
    SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-15)), 0);
    EXPECT_EQ(state.scroll, 1) << "15 / 10 truncates to 1";
    state.view = 0;
    state.scroll = 0;
    SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(state.scroll, 0) << "the wheel does nothing on the index";
}

// Closes the hint box from a second thread, as a user's click on OK would,
// and records what the box showed while it was open.
class HintBoxCloser {
public:
    explicit HintBoxCloser(HWND owner)
        : thread_([this, owner] {
              for (int i = 0; i < 400 && !done_; ++i) {
                  if (HWND box = FindWindowA("#32770", nullptr)) {
                      char text[128] = {};
                      GetWindowTextA(box, text, sizeof text);
                      caption_ = text;
                      EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&texts_));
                      ownedByViewer_ = GetWindow(box, GW_OWNER) == owner;
                      viewerDisabled_ = !IsWindowEnabled(owner);
                      found_ = true;
                      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                      return;
                  }
                  Sleep(25);
              }
          }) {}
    ~HintBoxCloser() { join(); }
    void join() {
        done_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool found() const { return found_; }
    std::string caption_;
    std::string texts_;
    bool ownedByViewer_ = false;
    bool viewerDisabled_ = false;

private:
    static BOOL CALLBACK collectText(HWND child, LPARAM out) {
        char text[128] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(out) += std::string(text) + "|";
        return TRUE;
    }
    std::atomic<bool> done_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

TEST_F(NavigationTest, HintBoxSwallowsTheNextContentPress) {
    HintBoxCloser closer(hwnd);
    clickAt(hwnd, 90, 440);  // slot 8 on the index: the press returns once the box has closed
    closer.join();
    ASSERT_TRUE(closer.found()) << "no hint box";
    EXPECT_EQ(closer.caption_, "ヒント");
    EXPECT_NE(closer.texts_.find("何か項目を選択してください|"), std::string::npos) << closer.texts_;
    EXPECT_TRUE(closer.ownedByViewer_);
    EXPECT_TRUE(closer.viewerDisabled_) << "modal: the viewer takes no input meanwhile";
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(state.hintPending, 1) << "the cursor stayed on the sidebar";
    EXPECT_EQ(state.view, 0);
    clickAt(hwnd, 90, 25);  // sidebar presses do not clear it
    EXPECT_EQ(state.hintPending, 1);
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.hintPending, 0);
    EXPECT_EQ(state.view, 0) << "the consumed press opens nothing";
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.view, 1);
}

TEST_F(NavigationTest, DragScrollsFromThePressAndTheWindowRemembersTheLastY) {
    openDetail(10, 1);
    state.scroll = 200;
    clickAt(hwnd, 500, 300);  // a press on the page resets the offset first
    EXPECT_EQ(state.scroll, 0);
    moveTo(hwnd, 500, 300);
    EXPECT_EQ(state.lastMouseY, 300);
    // With the button held, moving down by 30 pixels gives an offset of 30.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 330));
    EXPECT_EQ(state.scroll, 30);
    EXPECT_EQ(state.lastMouseY, 330);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 250));
    EXPECT_EQ(state.scroll, 0) << "dragging up past the top stops at 0";
    EXPECT_EQ(state.lastMouseY, 250);
    // On the index a held button hovers instead of dragging.
    state.view = 0;
    state.scroll = 0;
    moveTo(hwnd, 330, 30);
    EXPECT_EQ(state.selected, 26);
    EXPECT_EQ(state.scroll, 0);
    keys[VK_LBUTTON] = 0;
    SetKeyboardState(keys);
    // Button up on the detail page: a move changes nothing but the remembered y.
    openDetail(10, 1);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(500, 400));
    EXPECT_EQ(state.scroll, 0);
    EXPECT_EQ(state.lastMouseY, 400);
}

TEST_F(NavigationTest, FramePixels) {
    repaint();
    // Category 0: slot i is drawn from x = 5 * i, from bitmap 11 (current) or
    // 22 + i, its source columns from 0 on (every source column has its own colour).
    for (int slot = 0; slot < 8; ++slot) {
        int x = 5 * slot, y = 50 * slot + 25, position = slot == 0 ? 11 : 22 + slot;
        for (int column : {0, 1, 90, 179 - x})
            EXPECT_EQ(pixel(x + column, y), sidebarColour(position, column))
                << "slot " << slot << ", column " << column;
        if (x > 0) {
            EXPECT_EQ(pixel(x - 1, y), 0xFFFFFFu) << "left of slot " << slot;
        }
        EXPECT_EQ(pixel(180, y), sidebarColour(0, 0)) << "the strip starts at 180";
    }
    for (int slot = 8; slot < 11; ++slot)
        for (int column : {0, 179}) EXPECT_EQ(pixel(column, 50 * slot + 18 + 25), sidebarColour(11 + slot, column));
    for (int y = 400; y < 418; ++y) EXPECT_EQ(pixel(90, y), 0xFFFFFFu) << "gap row " << y;
    EXPECT_EQ(pixel(185, 300), sidebarColour(0, 5)) << "strip of category 0";
    // The highlighted label and ordinary ones, in the listed colours.
    EXPECT_EQ(pixel(200, 21), 0x323232u);
    EXPECT_EQ(pixel(200, 41), 0x41CFD7u);
    EXPECT_EQ(pixel(680, 461), 0xC8C8C8u) << "entry 126 in no category";

    clickAt(hwnd, 90, 275);  // slot 5
    repaint();
    EXPECT_EQ(pixel(0, 275), sidebarColour(16, 0));
    EXPECT_EQ(pixel(179, 275), sidebarColour(16, 179));
    EXPECT_EQ(pixel(25, 25), sidebarColour(22, 0)) << "slot 0 is five steps away: 25 pixels in";
    EXPECT_EQ(pixel(179, 25), sidebarColour(22, 154));
    EXPECT_EQ(pixel(24, 25), 0xFFFFFFu);
    EXPECT_EQ(pixel(185, 300), sidebarColour(5, 5));
    EXPECT_EQ(pixel(200, 21), 0x788CBEu) << "selected entry 0 is not in category 5";
}

TEST_F(NavigationTest, FewerEntriesNeverReachPastTheList) {
    destroyWindow();
    writeDataFile("data", dataTextOf(sampleEntries(10)));
    ASSERT_NE(createWindow(), nullptr);
    moveTo(hwnd, 330, 30);  // where entry 26 would be
    EXPECT_EQ(state.selected, 0);
    for (int slot = 0; slot < 8; ++slot) {
        clickAt(hwnd, 90, 50 * slot + 25);
        repaint();
        moveTo(hwnd, 250, 30);
    }
    clickAt(hwnd, 90, 325);  // category 7 holds none of the ten
    moveTo(hwnd, 250, 30);
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.view, 1) << "entry 0 still opens";
    state.selected = 50;
    state.view = 0;
    clickAt(hwnd, 500, 300);
    EXPECT_EQ(state.view, 0) << "no entry 50 to open";
}

}  // namespace
