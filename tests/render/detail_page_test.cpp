#include "render/detail_page.h"

#include <string>

#include "data/food_entry.h"
#include "render/scroll_rule.h"
#include "render/text_pages.h"
#include "tests/app/viewer_fixture.h"

namespace {

std::string longText(int lines) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += "line " + std::to_string(i) + "\n";
    return s + "end";
}

// Entries made for these tests: 0 short, 1 long, 2 empty immunity and
// supplement, 3 with twelve symptoms.
std::string detailEntries() {
    std::string twelve = "12,";
    for (int i = 0; i < 12; ++i) twelve += "symptom " + std::to_string(i) + ",";
    auto entry = [](int id, const std::string& symptoms, const std::string& text, const std::string& immunity,
                    const std::string& supplement) {
        return "sikibetu" + std::to_string(id) + ",name" + std::to_string(id) + ",chinese,0,nature,taste," + symptoms +
               text + "," + text + "," + text + "," + immunity + "," + text + "," + text + ",dish,0,0,effect,0," +
               text + ",0," + supplement + ",\n";
    };
    return entry(0, "0,", "short", "immune", "note") + entry(1, "1,cough,", longText(60), longText(60), longText(60)) +
           entry(2, "0,", "short", "", "") + entry(3, twelve, "short", "immune", "note");
}

class DetailPageTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        writeDataFile("data", detailEntries());
        ASSERT_NE(createWindow(), nullptr);
        ASSERT_EQ(count(state.entries), 4);
        state.view = 1;
    }
    int32_t lineStep() {
        TEXTMETRICA tm;
        GetTextMetricsA(state.memDC, &tm);
        return tm.tmHeight + tm.tmExternalLeading;
    }
    int32_t extentOf(const char* text) {
        TEXTMETRICA tm;
        GetTextMetricsA(state.memDC, &tm);
        return textExtent(measureText(text, state.memDC, RECT{210, 110, 770, 580}), tm.tmHeight, tm.tmExternalLeading);
    }
};

TEST_F(DetailPageTest, HeaderBandStaysWhiteAboveTheTitleLine) {
    for (int32_t tab : {1, 2, 3, 4, 7}) {
        paintDetail(1, tab, 100000);
        for (int y = 99; y < 110; ++y)
            for (int x = 200; x < 790; x += 3) ASSERT_EQ(pixel(x, y), 0xFFFFFFu) << "tab " << tab << " at " << x << "," << y;
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

TEST_F(DetailPageTest, WheelingPastTheEndStopsAtTheLastLine) {
    const FoodEntry& e = *at(state.entries, 1);
    int32_t start = 110 + lineStep();
    paintDetail(1, 1, 100000);
    EXPECT_EQ(state.scroll, extentOf(e.episode.get()) + start - 580);
    paintDetail(1, 1, 30);
    EXPECT_EQ(state.scroll, 30) << "within the text the offset stays";
    // Tab 4's two texts scroll as one block.
    paintDetail(1, 4, 100000);
    int32_t both = measureText(e.effectSummary.get(), state.memDC, RECT{210, 110, 770, 580}) +
                   measureText(e.effectDetail.get(), state.memDC, RECT{210, 110, 770, 580});
    TEXTMETRICA tm;
    GetTextMetricsA(state.memDC, &tm);
    EXPECT_EQ(state.scroll, textExtent(both, tm.tmHeight, tm.tmExternalLeading) + start - 580);
}

TEST_F(DetailPageTest, FirstSectionStaysPutWhileTheSecondScrolls) {
    for (int32_t tab : {3, 7}) {
        // The first text of entry 1 is long too: compare the fixed part between two offsets.
        paintDetail(1, tab, 0);
        std::vector<COLORREF> before;
        for (int y = 110; y < 400; y += 7)
            for (int x = 210; x < 770; x += 11) before.push_back(pixel(x, y));
        paintDetail(1, tab, 60);
        EXPECT_GT(state.scroll, 0) << "tab " << tab;
        size_t i = 0;
        for (int y = 110; y < 400; y += 7)
            for (int x = 210; x < 770; x += 11) ASSERT_EQ(pixel(x, y), before[i++]) << "tab " << tab << " at " << x << "," << y;
    }
}

TEST_F(DetailPageTest, SymptomLinesAreTwentyPixelsApart) {
    paintDetail(3, 5, 0);
    EXPECT_EQ(pixel(210, 111), 0xD2D2D2u) << "the title's grey cell";
    // Each of the twelve lines paints its white cell from x = 215 on; nothing is
    // drawn left of it.
    for (int i = 0; i < 12; ++i) EXPECT_EQ(pixel(212, 131 + 20 * i), 0xFFFFFFu);
    paintDetail(0, 5, 0);  // no symptoms: only the title
    for (int y = 130; y < 560; y += 5)  // rows below the client area are never cleared
        for (int x = 215; x < 770; x += 9) ASSERT_EQ(pixel(x, y), 0xFFFFFFu);
}

}  // namespace
