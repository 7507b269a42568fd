#include "render/picture_pages.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "data/food_entry.h"
#include "data/picture.h"
#include "data/scramble.h"
#include "render/frame.h"
#include "tests/support/viewer_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr COLORREF kPictureColour = RGB(0xF0, 0x80, 0x10);
constexpr COLORREF kGrey = 0xD2D2D2;

// Answers every file with a solid 3 x 2 picture.
void* solidPicture(const char*) {
    int32_t size[2] = {3, 2};
    auto* block = static_cast<unsigned char*>(GlobalAlloc(GMEM_FIXED, kDecodedPixelsOffset + 24));
    std::memcpy(block, size, sizeof size);
    unsigned char* pixels = block + kDecodedPixelsOffset;
    for (int i = 0; i < 6; ++i) {
        pixels[4 * i] = 0x10;
        pixels[1 + 4 * i] = 0x80;
        pixels[2 + 4 * i] = 0xF0;
        pixels[3 + 4 * i] = 0xFF;
    }
    return block;
}

EntrySource dishEntry(int id, const std::vector<std::string>& steps) {
    EntrySource e = sampleEntry(id);
    e.dishName = "dish" + std::to_string(id);
    e.ingredients = {{"大根", "1本"}, {"水", "2カップ"}};
    e.steps = steps;
    return e;
}

class PicturePagesTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        std::string step67(67, 's'), step68(68, 's');
        std::string huge;  // longer than the page's 512-byte formatting buffer, in words that wrap
        while (huge.size() < 1500) huge += "hhhhhhh ";
        EntrySource longNames = dishEntry(4, {});
        longNames.dishName = std::string(250, 'd');
        longNames.ingredients.clear();
        longNames.otherDishes = {huge};
        writeDataFile("data", dataTextOf({dishEntry(0, {step68, "b"}), dishEntry(1, {step67, "b"}), dishEntry(2, {}),
                                          dishEntry(3, {huge}), longNames}));
        for (const char* name : {"0001", "0002", "0012", "no"}) {
            fs::create_directories("image/food_image");
            writeFile(std::string("image/food_image/") + name, "scrambled");
        }
        ASSERT_NE(createWindow(), nullptr);
        state.decoderLoad = &solidPicture;
        state.view = 1;
    }
    void TearDown() override {
        state.decoderLoad = nullptr;
        ViewerTest::TearDown();
    }
};

TEST_F(PicturePagesTest, IngredientPictureIgnoresTheOffset) {
    for (int32_t scroll : {0, 300}) {
        paintDetail(0, 0, scroll);
        EXPECT_EQ(pixel(330, 140), kPictureColour) << scroll;
        EXPECT_EQ(pixel(629, 339), kPictureColour) << scroll;
        EXPECT_EQ(pixel(329, 200), 0xFFFFFFu) << scroll;
        EXPECT_EQ(pixel(630, 200), 0xFFFFFFu) << scroll;
        EXPECT_EQ(state.scroll, scroll) << "the picture page leaves the offset alone";
    }
}

// Whether the 20 x 18 cell at (x, y) of the back buffer has ink exactly where
// `text` drawn alone in the same font has it.
bool cellShows(HDC page, int x, int y, const char* text) {
    HDC dc = CreateCompatibleDC(page);
    HBITMAP bitmap = CreateCompatibleBitmap(page, 20, 18);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all{0, 0, 20, 18};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutA(dc, 0, 0, text, lstrlenA(text));
    int differing = 0;
    for (int dy = 0; dy < 18; ++dy)
        for (int dx = 0; dx < 20; ++dx)
            differing += (GetPixel(dc, dx, dy) != 0xFFFFFFu) != (GetPixel(page, x + dx, y + dy) != 0xFFFFFFu);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return differing == 0;
}

TEST_F(PicturePagesTest, DishPagePositions) {
    for (int32_t s : {0, 30}) {
        paintDetail(0, 6, s);
        EXPECT_EQ(pixel(215, 140 - s + 30), kPictureColour) << "dish picture, scroll " << s;
        EXPECT_EQ(pixel(210, 411 - s), kGrey) << "[調理法] is fixed, scroll " << s;
        EXPECT_EQ(pixel(530, 141 - s), kGrey) << "[材料名], scroll " << s;
        // A 68-byte first step moves the second step and the effect block down a line.
        EXPECT_EQ(pixel(210, 470 + 20 * 3 - s + 1), kGrey) << "[料理の効果] after a wrapped step, scroll " << s;
    }
    paintDetail(1, 6, 0);
    EXPECT_EQ(pixel(210, 470 + 20 * 2 + 1), kGrey) << "a 67-byte step takes one line";
    EXPECT_TRUE(cellShows(state.memDC.get(), 210, 440, " 1")) << "steps are numbered from 1";
    EXPECT_TRUE(cellShows(state.memDC.get(), 210, 460, " 2"));
    EXPECT_EQ(pixel(210, 470 + 20 * 3 + 1), 0xFFFFFFu);
    paintDetail(2, 6, 0);
    EXPECT_EQ(pixel(210, 471), kGrey) << "no steps: [料理の効果] at 470";
    EXPECT_EQ(pixel(210, 541), kGrey) << "[その他の料理例] 70 below it";
}

TEST_F(PicturePagesTest, MissingPicturesFallBackOrLeaveTheirPlaceWhite) {
    paintDetail(2, 6, 0);  // entry 2 has no dish picture of its own: "no" is drawn
    EXPECT_EQ(pixel(300, 200), kPictureColour);
    fs::remove("image/food_image/no");
    paintDetail(2, 6, 0);
    EXPECT_EQ(pixel(300, 200), 0xFFFFFFu);
    EXPECT_EQ(pixel(210, 411), kGrey) << "the rest of the page is still drawn";
    state.decoderLoad = nullptr;
    paintDetail(0, 0, 0);
    EXPECT_EQ(pixel(480, 240), 0xFFFFFFu) << "without the decoder library no picture, no crash";
}

// The lowest row with anything but white in the rectangle box of an 800 x 600
// 24-bit bottom-up DIB; -1 when there is none.
int lowestInkRow(const void* bits, RECT box) {
    const auto* bytes = static_cast<const unsigned char*>(bits);
    for (int y = box.bottom - 1; y >= box.top; --y) {
        const unsigned char* row = bytes + static_cast<std::size_t>(599 - y) * 2400;
        for (int x = box.left * 3; x < box.right * 3; ++x)
            if (row[x] != 0xFF) return y;
    }
    return -1;
}

// Where the ink of a text drawn alone ends, wrapped in the same rectangle
// with the same default font as the page draws it.
int lowestInkOf(HDC like, const std::string& text, RECT box, RECT searched) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 800, 600, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(like);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all{0, 0, 800, 600};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkColor(dc, kWhite);
    DrawTextA(dc, text.c_str(), -1, &box, DT_WORDBREAK);
    GdiFlush();
    int lowest = lowestInkRow(bits, searched);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return lowest;
}

TEST_F(PicturePagesTest, OverlongTextsAreCutNotOverflowed) {
    ASSERT_EQ(count(state.entries), 5);
    paintDetail(3, 6, 0);
    EXPECT_EQ(pixel(210, 470 + 20 * 2 + 1), kGrey) << "the long step counts as two lines";

    // Entry 4 has no steps and one other dish of 1500 bytes, which the page
    // formats as "○ %s" into its 512-byte buffer. Scrolled by 460, the item
    // starts at y 110 with nothing below it. Its ink must end exactly where the
    // first 511 bytes of the formatted text end when drawn alone: a copy
    // that overran the buffer would draw more of the text, or crash.
    paintDetail(4, 6, 460);
    GdiFlush();
    RECT item{215, 110, 770, 580};
    RECT searched{215, 110, 770, 570};  // the frame's own band starts below it
    std::string formatted = "○ " + std::string(at(state.entries, 4)->otherDishes[0].get());
    ASSERT_GT(formatted.size(), 511u);
    int whole = lowestInkOf(state.memDC.get(), formatted, item, searched);
    int cut = lowestInkOf(state.memDC.get(), formatted.substr(0, 511), item, searched);
    ASSERT_GT(whole, cut + 100) << "the whole text would reach much lower";
    EXPECT_EQ(lowestInkRow(state.backBits, searched), cut);
}

// Entry 3's one step wraps far below the page: its lines stop at the text
// pages' bottom, 20 pixels above the window's client area, not at 580.
TEST_F(PicturePagesTest, DishTextsStopAtTheVisibleColumnBottom) {
    paintDetail(3, 6, 0);
    RECT client;
    GetClientRect(hwnd, &client);
    ASSERT_EQ(state.pageBottom, client.bottom - 20) << "the frame sets the bottom of the window it paints";
    auto inked = [&](int y) {
        for (int x = 230; x < 770; ++x)
            if (pixel(x, y) != 0xFFFFFFu) return true;
        return false;
    };
    bool lastLine = false;
    for (int y = state.pageBottom - 18; y < state.pageBottom; ++y) lastLine = lastLine || inked(y);
    EXPECT_TRUE(lastLine);
    for (int y = state.pageBottom; y < client.bottom; ++y) ASSERT_FALSE(inked(y)) << "row " << y;
}

TEST_F(PicturePagesTest, LargeOffsetScrollsEverythingAway) {
    paintDetail(0, 6, 5000);
    for (int y = 110; y < 560; y += 4)
        for (int x = 200; x < 790; x += 7) ASSERT_EQ(pixel(x, y), 0xFFFFFFu) << x << "," << y;
    EXPECT_EQ(state.scroll, 5000) << "the dish page does not bound the offset";
}

}  // namespace
