#include "render/index_lists.h"

#include <string>

#include "tests/support/viewer_fixture.h"

namespace {

class IndexListTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        writeDataFile("data", dataTextOf(sampleEntries(127)));
        ASSERT_NE(createWindow(), nullptr);
        ASSERT_EQ(count(state.entries), 127);
    }
    void showList(int32_t category, int32_t selected) {
        state.view = 0;
        state.category = category;
        state.selected = selected;
        repaint();
    }
    // The label cell at (x, y) matches `text` drawn on its own in the listed colours.
    void expectLabel(int x, int y, const char* text, COLORREF background) {
        HDC dc = CreateCompatibleDC(state.memDC.get());
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, 20, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        RECT all{0, 0, 120, 20};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc, background == 0x323232 ? 0xFFFFFF : 0x7C4325);  // the selected label is white
        SetBkColor(dc, background);
        TextOutA(dc, 0, 0, text, lstrlenA(text));
        int differing = 0;
        for (int dy = 0; dy < 20; ++dy)
            for (int dx = 0; dx < 119; ++dx) differing += GetPixel(dc, dx, dy) != pixel(x + dx, y + dy);
        EXPECT_EQ(differing, 0) << "label \"" << text << "\" at " << x << "," << y;
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

TEST_F(IndexListTest, CategoryBoundariesHaveTheirListedColours) {
    struct Boundary {
        int32_t entry;
        COLORREF colour;
    } boundaries[] = {{1, 0x41CFD7},   {44, 0x41CFD7},  {45, 0x4BDC6E},  {72, 0x4BDC6E},
                      {73, 0xD2C882},  {75, 0xD2C882},  {76, 0x6C67FF},  {81, 0x6C67FF},
                      {82, 0x788CBE},  {89, 0x788CBE},  {90, 0xE596C4},  {103, 0xE596C4},
                      {104, 0xCD9C9C}, {121, 0xCD9C9C}, {122, 0xC8C8C8}, {126, 0xC8C8C8}};
    showList(0, 0);
    for (const Boundary& b : boundaries) {
        int x = 200 + 120 * (b.entry / 26), y = 20 * (b.entry % 26 + 1);
        EXPECT_EQ(pixel(x, y + 1), b.colour) << "entry " << b.entry;
    }
    EXPECT_EQ(pixel(200, 21), 0x323232u) << "the selected entry";
}

TEST_F(IndexListTest, LabelsAreNumberedFromZeroInEachList) {
    showList(0, 126);
    expectLabel(200, 520, "25.entry25", 0x41CFD7);
    expectLabel(320, 20, "26.entry26", 0x41CFD7);
    showList(3, 0);
    expectLabel(200, 20, "0.entry73", 0xD2C882);
    expectLabel(200, 40, "1.entry74", 0xD2C882);
    expectLabel(200, 60, "2.entry75", 0xD2C882);
    EXPECT_EQ(pixel(201, 81), 0xFFFFFFu) << "exactly three labels";
    showList(1, 0);
    expectLabel(320, 380, "44.entry44", 0x41CFD7);
    showList(7, 121);
    expectLabel(200, 360, "17.entry121", 0x323232);  // the selected label in white on dark grey
}

}  // namespace
