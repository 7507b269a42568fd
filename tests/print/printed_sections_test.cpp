#include "print/printed_sections.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/text_drawing.h"
#include "print/line_breaking_win.h"
#include "tests/support/print_fixture.h"

namespace {

// Where a part printed from the top margin ends: so many line heights, gaps
// and vertical units below it.
TEST_F(PrintTest, partsEndWhereTheirLinesSay) {
    struct Case {
        const char* name;
        Part part;
        int entry;
        int32_t lines, gaps, units;
    };
    const Case cases[] = {
        {"titleBlockOfSixLines", kTitle, kShortEntry, 6, 5, 0},
        {"ruleOfFiveUnits", kRule, kShortEntry, 0, 0, 5},
        {"episodeOfFourLinesBelowItsHeading", kEpisode, kLongEntry, 5, 5, 0},
        {"kampoOfFortyOneLinesBelowItsHeading", kKampo, kLongEntry, 42, 42, 0},
        {"noSymptomsGiveTheHeadingAndOneEmptyRow", kSymptoms, kEmptyEntry, 2, 2, 0},
        // Heading, empty text (no line), two gaps, heading, fallback line.
        {"absentImmunityTakesOneLine", kWestern, kEmptyEntry, 3, 5, 0},
        {"emptySupplementTakesOneLine", kAdvice, kEmptyEntry, 3, 5, 0},
        // The steps start at a fixed distance whatever the ingredients; then
        // two gaps, the effect's heading and one line with three gaps, and the
        // other dishes' heading.
        {"dishWithoutRows", kDish, kEmptyEntry, 5, 15, 60},
        {"dishOfTenStepsAndTenOtherDishes", kDish, kLongEntry, 25, 35, 60},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(printPart(c.part, entry(c.entry), g.marginTop, 0, &state),
                  g.marginTop + c.lines * g.lineHeight + c.gaps * g.lineGap + c.units * g.unitY)
            << c.name;
    }
}

// The bundled entries that between them hold the longest texts, the most dish
// rows and an absent immunity: the kinds of page the book prints.
std::vector<int32_t> pageKindsOf(const RecordList<FoodEntry>* entries) {
    auto textBytes = [](const FoodEntry& e) {
        return std::strlen(textOf(e.kampo)) + std::strlen(textOf(e.effectDetail)) + std::strlen(textOf(e.advice));
    };
    auto dishRows = [](const FoodEntry& e) { return e.ingredientCount + e.stepCount + e.otherDishCount; };
    std::vector<int32_t> picks(3, 0);
    for (int32_t i = 0; i < count(entries); ++i) {
        const FoodEntry& e = *at(entries, i);
        if (textBytes(e) > textBytes(*at(entries, picks[0]))) picks[0] = i;
        if (dishRows(e) > dishRows(*at(entries, picks[1]))) picks[1] = i;
        if (!hasImmunity(e)) picks[2] = i;
    }
    return picks;
}

// Each part of those entries, on a page of its own, measured and then drawn:
// both end at the same y, and the DC keeps its font.
TEST_F(PrintTest, measuringAndDrawingEndAtTheSameYOnBundledEntries) {
    // In the stage folder, with the decoder, drawing loads and draws the real
    // pictures as the viewer does.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(VERDALIS_STAGE_DIR));
    ViewerState bundled;
    loadEntries(&bundled);
    attachDecoder(&bundled);
    const int32_t loaded = count(bundled.entries);
    if (loaded == kEntryCount) {
        startDocument();
        const HGDIOBJ font = GetCurrentObject(printer.get(), OBJ_FONT);
        for (int32_t index : pageKindsOf(bundled.entries)) {
            ASSERT_GT(StartPage(printer.get()), 0);
            for (int p = kTitle; p < kPartCount; ++p) {
                SCOPED_TRACE(std::string(kPartNames[p]) + " of entry " + std::to_string(index));
                const FoodEntry& e = *at(bundled.entries, index);
                int32_t measured = printPart(Part(p), e, g.marginTop, 0, &bundled);
                EXPECT_EQ(printPart(Part(p), e, g.marginTop, 1, &bundled), measured);
                EXPECT_GT(measured, g.marginTop);
                EXPECT_EQ(GetCurrentObject(printer.get(), OBJ_FONT), font);
            }
            ASSERT_GT(EndPage(printer.get()), 0);
        }
        EndDoc(printer.get());
    }
    SetCurrentDirectoryA(previous);
    releaseViewerState(&bundled);
    EXPECT_EQ(loaded, kEntryCount) << "no packed data in " << VERDALIS_STAGE_DIR;
}

// The dish section of the long entry on page 1, the sections with fallback
// lines of the empty entry on page 2.
TEST_F(PrintTest, amountsAndFallbacksStandWhereTheyBelong) {
    startDocument();
    ASSERT_GT(StartPage(printer.get()), 0);
    printDishSection(entry(kLongEntry), dialog, g, g.marginTop, &state, 1);
    ASSERT_GT(EndPage(printer.get()), 0);
    ASSERT_GT(StartPage(printer.get()), 0);
    const int32_t western = g.marginTop;
    const int32_t advice = printWesternSection(entry(kEmptyEntry), dialog, g, western, 1);
    printAdviceSection(entry(kEmptyEntry), dialog, g, advice, 1);
    ASSERT_GT(EndPage(printer.get()), 0);
    ASSERT_GT(EndDoc(printer.get()), 0);
    std::vector<GreyPage> pages = render(psPath);
    ASSERT_EQ(pages.size(), 2u);

    // Below the heading, the dish name and the ingredients' heading: the first
    // amount's second line in the amount column, then the second row, which
    // starts below that line.
    const int32_t row = g.marginTop + 3 * (g.lineHeight + g.lineGap);
    const int32_t nameLeft = 105 * g.unitX;
    const int32_t amountLeft = 150 * g.unitX;
    EXPECT_GT(pages[0].inkIn(amountLeft, row + g.lineHeight, g.marginRight, row + 2 * g.lineHeight), 0);
    EXPECT_EQ(pages[0].inkIn(nameLeft, row + g.lineHeight + g.lineGap, amountLeft, row + 2 * g.lineHeight), 0);
    EXPECT_GT(pages[0].inkIn(nameLeft, row + 2 * g.lineHeight, amountLeft, row + 3 * g.lineHeight), 0);

    // Each fallback line lies one line and two gaps below its heading.
    for (int32_t top : {western, advice}) {
        const int32_t fallback = top + 2 * (g.lineHeight + g.lineGap) + 2 * g.lineGap;
        EXPECT_GT(pages[1].inkIn(g.marginLeft, fallback, g.marginRight, fallback + g.lineHeight), 0) << top;
    }
}

TEST_F(PrintTest, bodyLinesPrintWholeGlyphsHangTheirFullStopsAndJustifyCarriedLines) {
    startDocument();
    ASSERT_GT(StartPage(printer.get()), 0);
    OwnedFont font = newRomanFont(g.lineHeight);
    SelectionScope useFont{printer.get(), font.get()};
    char face[LF_FACESIZE] = {};
    GetTextFaceA(printer.get(), LF_FACESIZE, face);
    EXPECT_STREQ(face, "IPA明朝");
    const int32_t pitch = g.lineHeight + g.lineGap;
    auto block = [&](const std::string& text, int32_t top, int32_t right, int32_t draw) {
        return printTextBlock(printer.get(), text.c_str(), RECT{g.marginLeft, top, right, g.marginBottom}, g.lineGap,
                              g.lineHeight, draw);
    };
    auto textOut = [&](const std::string& text, int32_t top) {
        TextOutA(printer.get(), g.marginLeft, top, text.c_str(), static_cast<int>(text.size()));
    };

    // A body line with a closing bracket, a descender and an ampersand, and
    // the same characters drawn by TextOutA, which clips nothing and knows no
    // prefix characters, three lines lower.
    const std::string sample = "」g&」g」g";
    const int32_t sampleTop = 600;
    const int32_t referenceTop = sampleTop + 3 * pitch;
    EXPECT_EQ(block(sample, sampleTop, g.marginRight, 0), sampleTop + pitch);
    block(sample, sampleTop, g.marginRight, 1);
    textOut(sample, referenceTop);

    // A column exactly as wide as a line of あ, then 。 and い: the full stop
    // hangs past the right edge of the full line. With 」 in its place the
    // line carries its last あ along and is spread to the measure, so it ends
    // where the full line (drawn by TextOutA) does.
    std::string full;
    SIZE size{};
    while (GetTextExtentPoint32A(printer.get(), (full + "あ").c_str(), static_cast<int>(full.size() + 2), &size) &&
           size.cx <= g.marginRight - g.marginLeft)
        full += "あ";
    GetTextExtentPoint32A(printer.get(), full.c_str(), static_cast<int>(full.size()), &size);
    const int32_t right = g.marginLeft + size.cx;
    const int32_t hangingTop = referenceTop + 3 * pitch;
    const int32_t fullTop = hangingTop + 3 * pitch;
    const int32_t carriedTop = fullTop + pitch;
    EXPECT_EQ(block(full + "。い", hangingTop, right, 0), hangingTop + 2 * pitch);
    block(full + "。い", hangingTop, right, 1);
    textOut(full, fullTop);
    block(full + "」い", carriedTop, right, 1);

    ASSERT_GT(EndPage(printer.get()), 0);
    ASSERT_GT(EndDoc(printer.get()), 0);
    std::vector<GreyPage> pages = render(psPath);
    ASSERT_EQ(pages.size(), 1u);
    const GreyPage& page = pages[0];
    // The lowest inked row of a line (within two line heights) and its rightmost inked column.
    auto lowestInk = [&](int32_t top) {
        int32_t lowest = -1;
        for (int32_t y = top; y < top + 2 * g.lineHeight; ++y)
            if (page.inkIn(g.marginLeft - 20, y, g.marginRight, y + 1) > 0) lowest = y;
        return lowest - top;
    };
    auto rightmostInk = [&](int32_t top) {
        int32_t rightmost = -1;
        for (int32_t x = g.marginLeft; x < g.marginRight; ++x)
            if (page.inkIn(x, top, x + 1, top + pitch) > 0) rightmost = x;
        return rightmost;
    };

    // The feet of 」 and g lie below the line box, ten pixels short of the
    // line height, and are printed; so is the &.
    EXPECT_GT(lowestInk(referenceTop), g.lineHeight - 10);
    EXPECT_NEAR(lowestInk(sampleTop), lowestInk(referenceTop), 1);
    EXPECT_NEAR(rightmostInk(sampleTop), rightmostInk(referenceTop), 1);

    // The full stop is inked right of the column, on the first line only, and
    // い begins the second line.
    EXPECT_GT(page.inkIn(right, hangingTop, right + g.lineHeight, hangingTop + g.lineHeight), 0);
    EXPECT_EQ(page.inkIn(right, hangingTop + pitch, page.width, hangingTop + 2 * pitch), 0);
    EXPECT_GT(page.inkIn(g.marginLeft, hangingTop + pitch, g.marginLeft + g.lineHeight, hangingTop + 2 * pitch), 0);

    // The carried line ends where the full one does; the paragraph's last line is not spread.
    ASSERT_GT(rightmostInk(fullTop), right - g.lineHeight);
    EXPECT_NEAR(rightmostInk(carriedTop), rightmostInk(fullTop), 2);
    EXPECT_LT(rightmostInk(carriedTop + pitch), g.marginLeft + 4 * g.lineHeight);
}

}  // namespace
