// The frame as the reader sees it: pixels of the back buffer after the real
// window painted it.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/food_entry.h"
#include "data/picture.h"
#include "render/text_pages.h"
#include "tests/support/viewer_fixture.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kInk = 0x7C4325, kGrey = 0xD2D2D2, kDark = 0x646464,
                   kPicture = RGB(0xF0, 0x80, 0x10);

// Answers every file with a solid 3 x 2 picture.
void* solidPicture(const char*) {
    int32_t size[2] = {3, 2};
    auto* block = static_cast<unsigned char*>(GlobalAlloc(GMEM_FIXED, kDecodedPixelsOffset + 24));
    std::memcpy(block, size, sizeof size);
    for (int i = 0; i < 6; ++i) std::memcpy(block + kDecodedPixelsOffset + 4 * i, "\x10\x80\xF0\xFF", 4);
    return block;
}

// Words of 40 letters, each alone on a line of the 555-pixel column.
std::string wordLines(std::size_t bytes) {
    std::string s;
    while (s.size() < bytes) s += std::string(40, 'h') + " ";
    return s;
}

// 127 entries: 1-4 made for the text pages (1 long, 2 without immunity,
// supplement or season, 3 with twelve symptoms, 4 with long second sections),
// 5-9 for the dish page; the others are sampleEntry.
std::string frameData() {
    std::vector<EntrySource> e = sampleEntries(127);
    e[1].episode = e[1].kampo = e[1].effectSummary = e[1].effectDetail = wordLines(1500) + "\nend";
    e[2].supplement.clear();
    e[2].seasonMonth = 0;
    e[3].symptoms.clear();
    for (int i = 0; i < 12; ++i) e[3].symptoms.push_back("symptom " + std::to_string(i));
    e[4].immunity = e[4].supplement = wordLines(1500) + "\nend";
    for (int id = 5; id <= 9; ++id) e[id].ingredients = {{"大根", "1本"}, {"水", "2カップ"}};
    e[5].steps = {std::string(68, 's'), "b"};
    e[6].steps = {std::string(67, 's'), "b"};
    e[7].steps.clear();
    e[8].steps = {wordLines(1500)};
    e[9].steps.clear();
    e[9].otherDishes = {wordLines(1500)};
    return dataTextOf(e);
}

// The colour of every pixel of a rectangle at (x, y), or with a text the
// background of that text drawn there.
struct Probe {
    const char* what;
    int x, y;
    COLORREF colour;
    const char* text = nullptr;
    COLORREF ink = kInk;
    int width = 1, height = 1;
};

class FrameTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        writeDataFile("data", frameData());
        writeSidebarArt();
        std::filesystem::create_directories("image/food_image");
        for (const char* name : {"0051", "0052", "0062", "no"}) writeFile(std::string("image/food_image/") + name, "x");
        ASSERT_NE(createWindow(), nullptr);
        state.decoderLoad = &solidPicture;
    }
    void showList(int32_t category, int32_t selected) {
        state.view = 0;
        state.category = category;
        state.selected = selected;
        repaint();
    }
    void expect(const std::string& where, const std::vector<Probe>& probes) {
        for (const Probe& p : probes) {
            EXPECT_TRUE(!p.text || showsText(p.x, p.y, p.text, p.ink, p.colour)) << where << ": " << p.what;
            for (int y = p.y; !p.text && y < p.y + p.height; ++y)
                for (int x = p.x; x < p.x + p.width; ++x)
                    ASSERT_EQ(pixel(x, y), p.colour) << where << ": " << p.what << " at " << x << "," << y;
        }
    }
    bool inked(int top, int bottom, int left = 210, int right = 770) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (pixel(x, y) != kWhite) return true;
        return false;
    }
    TEXTMETRICA metrics() {
        TEXTMETRICA tm{};
        GetTextMetricsA(state.memDC.get(), &tm);
        return tm;
    }
};

TEST_F(FrameTest, SidebarButtonsMoveByTheirDistanceFromTheCategory) {
    showList(0, 0);
    // Category 0: slot i is drawn from x = 5 * i, from bitmap 11 (current) or
    // 22 + i, its source columns from 0 on (every source column has its own colour).
    for (int slot = 0; slot < 8; ++slot) {
        int x = 5 * slot, y = 50 * slot + 25, position = slot == 0 ? 11 : 22 + slot;
        for (int column : {0, 90, 179 - x})
            EXPECT_EQ(pixel(x + column, y), sidebarColour(position, column))
                << "slot " << slot << ", column " << column;
    }
    for (int slot = 8; slot < 11; ++slot)
        for (int column : {0, 179}) EXPECT_EQ(pixel(column, 50 * slot + 43), sidebarColour(11 + slot, column));
    expect("category 0", {{"the gap above the command slots", 0, 400, kWhite, nullptr, kInk, 180, 18},
                          {"the strip starts at 180, to its top row", 180, 0, sidebarColour(0, 0)},
                          {"strip of category 0", 185, 300, sidebarColour(0, 5)}});
    showList(5, 0);
    expect("category 5", {{"slot 5 current", 0, 275, sidebarColour(16, 0)},
                          {"slot 5 to its right edge", 179, 275, sidebarColour(16, 179)},
                          {"slot 0 five steps away: 25 pixels in", 25, 25, sidebarColour(22, 0)},
                          {"slot 0 ends at the edge", 179, 25, sidebarColour(22, 154)},
                          {"left of slot 0", 24, 25, kWhite},
                          {"strip of category 5", 185, 300, sidebarColour(5, 5)}});
}

TEST_F(FrameTest, IndexLabelsInTheirCategoryColours) {
    showList(0, 126);
    expect("all entries", {{"last of column 0", 200, 520, 0x41CFD7, "25.entry25"},
                           {"first of column 1", 320, 20, 0x41CFD7, "26.entry26"},
                           {"last of category 1", 320, 380, 0x41CFD7, "44.entry44"},
                           {"first of category 2", 320, 400, 0x4BDC6E, "45.entry45"},
                           {"category 3", 440, 440, 0xD2C882, "73.entry73"},
                           {"category 4", 440, 500, 0x6C67FF, "76.entry76"},
                           {"category 5", 560, 100, 0x788CBE, "82.entry82"},
                           {"category 6", 560, 260, 0xE596C4, "90.entry90"},
                           {"last of category 7", 680, 360, 0xCD9C9C, "121.entry121"},
                           {"first in no category", 680, 380, 0xC8C8C8, "122.entry122"},
                           {"the selected entry", 680, 460, 0x323232, "126.entry126", kWhite}});
    showList(3, 0);
    expect("category 3", {{"numbered from 0", 200, 20, 0xD2C882, "0.entry73"},
                          {"second", 200, 40, 0xD2C882, "1.entry74"},
                          {"third", 200, 60, 0xD2C882, "2.entry75"},
                          {"nothing below the three labels", 201, 81, kWhite}});
    showList(7, 121);
    expect("category 7", {{"the selected label", 200, 360, 0x323232, "17.entry121", kWhite}});
}

TEST_F(FrameTest, HeaderAndTheOpenTab) {
    const int labelX[] = {200, 300, 384, 468, 552, 636, 687};
    for (int32_t tab = 0; tab < 8; ++tab) {
        paintDetail(0, tab, 0);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(pixel(labelX[i], 81), tab == i + 1 ? kGrey : kDark) << "tab " << tab << ", label " << i;
    }
    expect("entry 0", {{"the season", 710, 50, kWhite, " 4月 "},
                       {"the Chinese name's label", 430, 10, kDark, " 漢名 ", kWhite},
                       {"the season's label", 680, 51, kDark}});
    paintDetail(2, 1, 0);
    expect("entry 2", {{"no season month", 710, 50, kWhite, " 一年中 "}});
}

TEST_F(FrameTest, TextPagesScrollToTheirEndUnderTheTitles) {
    TEXTMETRICA tm = metrics();
    int line = tm.tmHeight, step = line + tm.tmExternalLeading, bottom = state.pageBottom;
    int start = 110 + step, secondTitle = 110 + step + 2 * line, secondStart = secondTitle + step;
    const Probe lastLine{"the last line ends at the bottom", 210, bottom - line, kWhite, "end"};
    const Probe margin{"the margin below", 200, bottom, kWhite, nullptr, kInk, 590, 20};
    for (int32_t tab : {1, 2, 4}) {
        std::string where = "entry 1, tab " + std::to_string(tab);
        paintDetail(1, tab, 100000);
        expect(where, {lastLine,
                       margin,
                       {"the header band and the title line", 400, 99, kWhite, nullptr, kInk, 370, start - 99}});
        paintDetail(1, tab, 30);
        EXPECT_EQ(state.scroll, 30) << where << ": within the text the offset stays";
    }
    for (int32_t tab : {3, 7}) {
        std::string where = "entry 4, tab " + std::to_string(tab);
        paintDetail(4, tab, 100000);
        expect(where, {lastLine,
                       margin,
                       {"the first text stays", 210, start, kWhite, tab == 3 ? "components" : "advice"},
                       {"the second title stays", 210, secondTitle, kGrey, tab == 3 ? "[免疫]" : "[補足]"},
                       {"the second title's line", 300, secondTitle, kWhite, nullptr, kInk, 470, step}});
        paintDetail(2, tab, 0);
        expect("entry 2", {{"the fallback", 210, secondStart, kWhite, tab == 3 ? "　未確認" : "　特になし"}});
    }
    paintDetail(0, 4, 500);
    EXPECT_EQ(state.scroll, 0) << "a short text ignores the offset";
    expect("effect page", {{"the summary", 210, start, kWhite, "summary"},
                           {"the detail follows it", 210, start + line, kWhite, "detail"}});
    paintDetail(3, 5, 77);
    EXPECT_EQ(state.scroll, 77) << "the symptoms page neither reads nor clamps the offset";
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(showsText(215, 130 + 20 * i, "symptom " + std::to_string(i), kInk, kWhite)) << "symptom " << i;
    expect("symptoms", {{"the title's grey cell starts at 210", 210, 111, kGrey},
                        {"left of it", 209, 111, kWhite},
                        {"nothing below the twelfth line", 210, 370, kWhite, nullptr, kInk, 560, bottom - 370}});
}

TEST_F(FrameTest, PicturesAndTheDishPage) {
    paintDetail(5, 0, 300);
    expect("ingredient picture", {{"top left", 330, 140, kPicture},
                                  {"bottom right", 629, 339, kPicture},
                                  {"left of it", 329, 200, kWhite},
                                  {"right of it", 630, 200, kWhite}});
    EXPECT_EQ(state.scroll, 300) << "the picture page leaves the offset alone";
    for (int32_t s : {0, 30}) {
        paintDetail(5, 6, s);
        expect("entry 5, scroll " + std::to_string(s),
               {{"dish picture", 215, 170 - s, kPicture},
                {"[材料名]", 530, 141 - s, kGrey},
                {"first ingredient", 535, 170 - s, kWhite, "大根"},
                {"its amount", 690, 170 - s, kWhite, "1本"},
                {"second amount one line down", 690, 190 - s, kWhite, "2カップ"},
                {"[調理法] stays at 410", 210, 411 - s, kGrey},
                {"a 68-byte step moves [料理の効果] a line further", 210, 531 - s, kGrey}});
    }
    paintDetail(6, 6, 0);
    expect("entry 6", {{"a 67-byte step takes one line", 210, 511, kGrey},
                       {"steps are numbered from 1", 210, 440, kWhite, " 1"},
                       {"step 2", 210, 460, kWhite, " 2"},
                       {"no title a line lower", 210, 531, kWhite}});
    paintDetail(7, 6, 0);
    expect("entry 7", {{"no steps: [料理の効果] at 470", 210, 471, kGrey},
                       {"[その他の料理例] 70 below it", 210, 541, kGrey},
                       {"the fallback picture", 300, 200, kPicture}});
    std::filesystem::remove("image/food_image/no");
    paintDetail(7, 6, 0);
    expect("no fallback", {{"the picture's place", 300, 200, kWhite}, {"the rest of the page", 210, 411, kGrey}});
    paintDetail(5, 6, 5000);
    expect("a large offset", {{"scrolls everything away", 200, 110, kWhite, nullptr, kInk, 590, 450}});
    EXPECT_EQ(state.scroll, 5000) << "the dish page does not bound the offset";
    state.decoderLoad = nullptr;
    paintDetail(5, 0, 0);
    expect("no decoder library", {{"no picture", 330, 140, kWhite, nullptr, kInk, 300, 200}});
}

TEST_F(FrameTest, DishTextsAreCutAtTheColumnBottomAndTheirBuffer) {
    int line = metrics().tmHeight;
    paintDetail(8, 6, 0);
    expect("entry 8", {{"the long step counts as two lines", 210, 511, kGrey}});
    EXPECT_TRUE(inked(state.pageBottom - line, state.pageBottom, 230)) << "its last line ends at the bottom";
    EXPECT_FALSE(inked(state.pageBottom, state.pageBottom + 20, 230)) << "the margin stays white";
    // Entry 9's other dish, formatted as "○ %s" into the page's 512-byte
    // buffer and scrolled to start at 110: its ink ends with the last line of
    // the first 511 bytes; a copy that overran the buffer would draw more.
    paintDetail(9, 6, 460);
    std::string formatted = "○ " + wordLines(1500);
    RECT item{215, 110, 770, 580};
    int cut = 110 + measureText(formatted.substr(0, 511).c_str(), state.memDC.get(), item);
    ASSERT_GT(110 + measureText(formatted.c_str(), state.memDC.get(), item), cut + 100);
    EXPECT_TRUE(inked(cut - line, cut, 215));
    EXPECT_FALSE(inked(cut, 560, 215));
}

}  // namespace
