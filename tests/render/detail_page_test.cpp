#include "render/detail_page.h"

#include <string>
#include <vector>

#include "data/food_entry.h"
#include "render/scroll_rule.h"
#include "render/text_pages.h"
#include "tests/support/viewer_fixture.h"

namespace {

std::string longText(int lines) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += "line " + std::to_string(i) + "\n";
    return s + "end";
}

// Entries made for these tests: 0 short, 1 long, 2 empty immunity and
// supplement, 3 with twelve symptoms, 4 a short first section and a long
// second one, 5-11 second sections of 18 to 24 lines.
std::string detailEntries() {
    auto entry = [](int id, const std::string& text, const std::string& immunity, const std::string& supplement) {
        EntrySource e = sampleEntry(id);
        e.name = "name" + std::to_string(id);
        e.symptoms.clear();
        e.episode = e.components = e.kampo = e.effectSummary = e.effectDetail = e.advice = text;
        e.immunity = immunity;
        e.supplement = supplement;
        return e;
    };
    std::vector<EntrySource> entries = {
        entry(0, "short", "immune", "note"), entry(1, longText(60), longText(60), longText(60)),
        entry(2, "short", "", ""), entry(3, "short", "immune", "note"), entry(4, "short", longText(40), longText(40))};
    entries[1].symptoms = {"cough"};
    for (int i = 0; i < 12; ++i) entries[3].symptoms.push_back("symptom " + std::to_string(i));
    for (int lines = 18; lines <= 24; ++lines)
        entries.push_back(entry(lines - 13, "short", longText(lines - 1), "note"));
    return dataTextOf(entries);
}

class DetailPageTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        writeDataFile("data", detailEntries());
        ASSERT_NE(createWindow(), nullptr);
        ASSERT_EQ(count(state.entries), 12);
        state.view = 1;
    }
    int32_t lineStep() {
        TEXTMETRICA tm;
        GetTextMetricsA(state.memDC.get(), &tm);
        return tm.tmHeight + tm.tmExternalLeading;
    }
    int32_t extentOf(const char* text) {
        TEXTMETRICA tm;
        GetTextMetricsA(state.memDC.get(), &tm);
        return textExtent(measureText(text, state.memDC.get(), RECT{210, 110, 770, 580}), tm.tmHeight,
                          tm.tmExternalLeading);
    }
    // The column bottom: 20 pixels above the bottom of the client area as the window has it.
    int32_t columnBottom() {
        RECT client;
        GetClientRect(hwnd, &client);
        return client.bottom - 20;
    }
    bool rowHasInk(int y, int left = 210, int right = 770) {
        for (int x = left; x < right; ++x)
            if (pixel(x, y) != 0xFFFFFFu) return true;
        return false;
    }
};

TEST_F(DetailPageTest, HeaderBandStaysWhiteAboveTheTitleLine) {
    for (int32_t tab : {1, 2, 3, 4, 7}) {
        paintDetail(1, tab, 100000);
        for (int y = 99; y < 110; ++y)
            for (int x = 200; x < 790; x += 3)
                ASSERT_EQ(pixel(x, y), 0xFFFFFFu) << "tab " << tab << " at " << x << "," << y;
    }
}

TEST_F(DetailPageTest, ExactlyTheOpenTabIsMarked) {
    const int labelX[] = {200, 300, 384, 468, 552, 636, 687};
    for (int32_t tab : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
        paintDetail(0, tab, 0);
        for (int i = 0; i < 7; ++i) {
            COLORREF expected = tab == i + 1 ? 0xD2D2D2 : 0x646464;
            EXPECT_EQ(pixel(labelX[i], 81), expected) << "tab " << tab << ", label " << i;
        }
    }
    // The header's label cells.
    EXPECT_EQ(pixel(430, 11), 0x646464u);
    EXPECT_EQ(pixel(680, 51), 0x646464u);
}

TEST_F(DetailPageTest, SeasonAndFallbackTexts) {
    char season[32];
    formatSeason(0, season, sizeof season);
    EXPECT_STREQ(season, " 一年中 ");
    formatSeason(4, season, sizeof season);
    EXPECT_STREQ(season, " 4月 ");
    formatSeason(13, season, sizeof season);
    EXPECT_STREQ(season, " 13月 ") << "printed as stored";
    const FoodEntry& empty = *at(state.entries, 2);
    EXPECT_STREQ(immunityText(empty), "　未確認");
    EXPECT_STREQ(supplementText(empty), "　特になし");
    EXPECT_STREQ(immunityText(*at(state.entries, 0)), "immune");
    EXPECT_STREQ(supplementText(*at(state.entries, 0)), "note");
}

TEST_F(DetailPageTest, ShortTextsIgnoreTheOffset) {
    for (int32_t tab : {1, 2, 3, 4, 7}) {
        paintDetail(0, tab, 500);
        EXPECT_EQ(state.scroll, 0) << "tab " << tab;
    }
    paintDetail(3, 5, 77);
    EXPECT_EQ(state.scroll, 77) << "the symptoms page neither reads nor clamps the offset";
}

TEST_F(DetailPageTest, WheelingPastTheEndShowsTheLastLineWholeAboveTheMargin) {
    const FoodEntry& e = *at(state.entries, 1);
    int32_t start = 110 + lineStep();
    int32_t bottom = columnBottom();
    paintDetail(1, 1, 100000);
    EXPECT_EQ(state.scroll, extentOf(e.episode.get()) + start - bottom);
    // The last line ("end") has ink within its own line above the bottom, and
    // the margin below it down to the client area's edge stays white.
    bool lastLineInked = false;
    for (int y = bottom - lineStep(); y < bottom; ++y) lastLineInked = lastLineInked || rowHasInk(y);
    EXPECT_TRUE(lastLineInked);
    for (int y = bottom; y < bottom + 20; ++y) ASSERT_FALSE(rowHasInk(y)) << "margin row " << y;
    paintDetail(1, 1, 30);
    EXPECT_EQ(state.scroll, 30) << "within the text the offset stays";
    // Tab 4's two texts scroll as one block.
    paintDetail(1, 4, 100000);
    int32_t both = measureText(e.effectSummary.get(), state.memDC.get(), RECT{210, 110, 770, 580}) +
                   measureText(e.effectDetail.get(), state.memDC.get(), RECT{210, 110, 770, 580});
    TEXTMETRICA tm;
    GetTextMetricsA(state.memDC.get(), &tm);
    EXPECT_EQ(state.scroll, textExtent(both, tm.tmHeight, tm.tmExternalLeading) + start - bottom);
}

TEST_F(DetailPageTest, FirstSectionStaysPutWhileTheSecondScrolls) {
    // Entry 4: a one-line first text, so the second title sits at 110 + 3 lines
    // and the second text starts one line below it, well on screen.
    int32_t secondStart = 110 + 4 * lineStep();
    for (int32_t tab : {3, 7}) {
        paintDetail(4, tab, 0);
        std::vector<COLORREF> fixed, moving;
        for (int y = 110; y < secondStart; ++y)
            for (int x = 210; x < 770; x += 3) fixed.push_back(pixel(x, y));
        for (int y = secondStart; y < secondStart + 60; ++y)
            for (int x = 210; x < 770; x += 3) moving.push_back(pixel(x, y));
        paintDetail(4, tab, 60);
        EXPECT_EQ(state.scroll, 60) << "tab " << tab;
        size_t i = 0, changed = 0;
        for (int y = 110; y < secondStart; ++y)
            for (int x = 210; x < 770; x += 3)
                ASSERT_EQ(pixel(x, y), fixed[i++]) << "tab " << tab << " at " << x << "," << y;
        i = 0;
        for (int y = secondStart; y < secondStart + 60; ++y)
            for (int x = 210; x < 770; x += 3) changed += pixel(x, y) != moving[i++];
        EXPECT_GT(changed, 0u) << "tab " << tab << ": the second text moved";
    }
}

TEST_F(DetailPageTest, ASecondSectionScrollsExactlyWhenItWouldEndBelowTheBottom) {
    // Entries 5-11 hold second sections of 18 to 24 lines below a one-line
    // first section; wheeled far down, one that ends above the column bottom
    // stays put, a longer one stops with its end at the bottom.
    int32_t start = 110 + 4 * lineStep();
    int32_t bottom = columnBottom();
    int fitting = 0, scrolling = 0;
    for (int32_t id = 5; id <= 11; ++id) {
        int32_t extent = extentOf(at(state.entries, id)->immunity.get());
        paintDetail(id, 3, 100000);
        if (start + extent <= bottom) {
            ++fitting;
            EXPECT_EQ(state.scroll, 0) << "entry " << id << " ends at " << start + extent;
        } else {
            ++scrolling;
            EXPECT_EQ(state.scroll, start + extent - bottom) << "entry " << id;
        }
    }
    EXPECT_GT(fitting, 0);
    EXPECT_GT(scrolling, 0);
}

TEST_F(DetailPageTest, SymptomLinesAreTwentyPixelsApart) {
    paintDetail(3, 5, 0);
    EXPECT_EQ(pixel(210, 111), 0xD2D2D2u) << "the title's grey cell starts at 210";
    EXPECT_EQ(pixel(209, 111), 0xFFFFFFu);
    // Line i is "symptom i": the same glyphs at the start of every line, so the
    // first ink row and the first ink column are the same in each 20-pixel band.
    auto firstInkRow = [&](int top) {
        for (int y = top; y < top + 20; ++y)
            if (rowHasInk(y, 200, 400)) return y - top;
        return -1;
    };
    auto firstInkColumn = [&](int top) {
        for (int x = 200; x < 400; ++x)
            for (int y = top; y < top + 20; ++y)
                if (pixel(x, y) != 0xFFFFFFu) return x;
        return -1;
    };
    int row0 = firstInkRow(130), column0 = firstInkColumn(130);
    ASSERT_GE(row0, 0);
    EXPECT_GE(column0, 215) << "nothing left of the 215 indent";
    EXPECT_LE(column0, 218);
    for (int i = 1; i < 12; ++i) {
        EXPECT_EQ(firstInkRow(130 + 20 * i), row0) << "line " << i;
        EXPECT_EQ(firstInkColumn(130 + 20 * i), column0) << "line " << i;
    }
    EXPECT_FALSE(rowHasInk(130 + 20 * 12 + 5)) << "nothing below the twelfth line";
    paintDetail(0, 5, 0);               // no symptoms: only the title
    for (int y = 130; y < 560; y += 5)  // rows below the client area are never cleared
        for (int x = 215; x < 770; x += 9) ASSERT_EQ(pixel(x, y), 0xFFFFFFu);
}

}  // namespace
