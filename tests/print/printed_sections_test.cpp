#include "print/printed_sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "print/line_breaking_win.h"
#include "print/print_job.h"
#include "tests/support/print_fixture.h"
#include "tests/support/print_test_entries.h"
#include "tests/support/viewer_fixture.h"

namespace {

struct Printer {
    const char* name;
    int32_t (*print)(const FoodEntry&, const PRINTDLGA&, const PageGeometry&, int32_t y, ViewerState*, int32_t);
};

template <int32_t (*print)(const FoodEntry&, const PRINTDLGA&, const PageGeometry&, int32_t, int32_t)>
int32_t section(const FoodEntry& e, const PRINTDLGA& d, const PageGeometry& g, int32_t y, ViewerState*, int32_t draw) {
    return print(e, d, g, y, draw);
}

int32_t titleBlock(const FoodEntry& e, const PRINTDLGA& d, const PageGeometry& g, int32_t, ViewerState* s,
                   int32_t draw) {
    return printTitleBlock(e, d, g, s, draw);
}

constexpr Printer kPrinters[] = {
    {"title", titleBlock},
    {"episode", section<printEpisodeSection>},
    {"kampo", section<printKampoSection>},
    {"western", section<printWesternSection>},
    {"effect", section<printEffectSection>},
    {"symptoms", section<printSymptomsSection>},
    {"dish", printDishSection},
    {"advice", section<printAdviceSection>},
};

class PrintedSectionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(printer.get(), nullptr) << "no printer \"" << kPrinterName << "\": run scripts/printer-setup.sh test";
        dialog = dialogFor(printer.get());
        computePageGeometry(dialog, &g);
    }
    // Opens a document that goes to a PostScript file, so drawing passes draw
    // on a real page.
    void startDocument(const std::string& folder) {
        psPath = folder + "/out.ps";
        DOCINFOA info{};
        info.cbSize = sizeof info;
        info.lpszDocName = "sections";
        info.lpszOutput = psPath.c_str();
        ASSERT_GT(StartDocA(printer.get(), &info), 0);
    }
    // Every printer on each of the entries, each entry on a page of its own:
    // measuring and drawing end at the same y.
    void expectSameYInBothModes(ViewerState* state, const std::vector<int32_t>& indexes) {
        for (int32_t index : indexes) {
            const FoodEntry& entry = *at(state->entries, index);
            ASSERT_GT(StartPage(printer.get()), 0);
            for (const Printer& p : kPrinters) {
                int32_t measured = p.print(entry, dialog, g, g.marginTop, state, 0);
                int32_t drawn = p.print(entry, dialog, g, g.marginTop, state, 1);
                EXPECT_EQ(measured, drawn) << p.name << " of entry " << index;
                EXPECT_GT(measured, g.marginTop) << p.name << " of entry " << index;
            }
            ASSERT_GT(EndPage(printer.get()), 0);
        }
    }
    OwnedDC printer = newPrinterDC();
    PRINTDLGA dialog{};
    PageGeometry g;
    std::string psPath;
};

TEST_F(PrintedSectionsTest, romanShiftJisFontResolvesToIpaMincho) {
    OwnedFont font = newRomanFont(g.lineHeight);
    HGDIOBJ previous = SelectObject(printer.get(), font.get());
    char face[LF_FACESIZE] = {};
    GetTextFaceA(printer.get(), LF_FACESIZE, face);
    TEXTMETRICA tm{};
    GetTextMetricsA(printer.get(), &tm);
    SelectObject(printer.get(), previous);
    EXPECT_STREQ(face, "IPA明朝");
    EXPECT_EQ(tm.tmHeight, g.lineHeight);
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
}

// The bundled entries that between them hold the longest texts, the most dish
// rows and an absent immunity: the kinds of page the book prints, in a few
// entries instead of all of them.
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
        if (!e.immunity) picks[2] = i;
    }
    std::sort(picks.begin(), picks.end());
    picks.erase(std::unique(picks.begin(), picks.end()), picks.end());
    return picks;
}

TEST_F(PrintedSectionsTest, bundledEntriesOfEveryKindGiveTheSameYInBothModes) {
    // Run in the stage folder, with the decoder, so drawing passes load and
    // draw the real pictures as the viewer would.
    std::string output = testOutputFolder();
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(VERDALIS_STAGE_DIR));
    PrintState bundled;
    bool loaded = bundled.loadDataFile("data");
    bundled.loadDecoder("jload.dll");
    if (loaded) {
        EXPECT_EQ(count(bundled.state.entries), kEntryCount);
        startDocument(output);
        expectSameYInBothModes(&bundled.state, pageKindsOf(bundled.state.entries));
        EndDoc(printer.get());
    }
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(loaded) << "no packed data in " << VERDALIS_STAGE_DIR;
}

class SectionCases : public PrintedSectionsTest {
protected:
    void SetUp() override {
        PrintedSectionsTest::SetUp();
        std::string folder = testOutputFolder();
        writeDataFile(folder + "/data", printTestEntries());
        ASSERT_TRUE(entries.loadDataFile(folder + "/data"));
    }
    const FoodEntry& entry(int index) { return *at(entries.state.entries, index); }
    int32_t pitch() const { return g.lineHeight + g.lineGap; }
    PrintState entries;
};

TEST_F(SectionCases, titleBlockEndsSixLinesAndFiveGapsBelowTheTop) {
    for (int index : {kShortEntry, kLongEntry, kEmptyEntry}) {
        EXPECT_EQ(printTitleBlock(entry(index), dialog, g, &entries.state, 0),
                  g.marginTop + 6 * g.lineHeight + 5 * g.lineGap);
    }
}

TEST_F(SectionCases, ruleAddsFiveUnits) { EXPECT_EQ(printRule(dialog, g, 700, 0), 700 + 5 * g.unitY); }

TEST_F(SectionCases, noSymptomsGiveTheHeadingAndOneEmptyRow) {
    EXPECT_EQ(printSymptomsSection(entry(kEmptyEntry), dialog, g, 1000, 0), 1000 + 2 * pitch());
}

TEST_F(SectionCases, absentImmunityAndEmptySupplementTakeOneLineEach) {
    // Heading, empty text (no line), two gaps, heading, fallback line.
    EXPECT_EQ(printWesternSection(entry(kEmptyEntry), dialog, g, 1000, 0), 1000 + 3 * pitch() + 2 * g.lineGap);
    EXPECT_EQ(printAdviceSection(entry(kEmptyEntry), dialog, g, 1000, 0), 1000 + 3 * pitch() + 2 * g.lineGap);
}

TEST_F(SectionCases, textSectionsAdvanceOnePitchPerLine) {
    // "kampo 0" .. "kampo 39" and "end": 41 short lines below the heading.
    EXPECT_EQ(printKampoSection(entry(kLongEntry), dialog, g, 1000, 0), 1000 + 42 * pitch());
    // Three episode lines and "end".
    EXPECT_EQ(printEpisodeSection(entry(kLongEntry), dialog, g, 1000, 0), 1000 + 5 * pitch());
}

TEST_F(SectionCases, dishStepsStartAtAFixedDistanceWhateverTheIngredients) {
    // The empty dish has no rows: heading, name, steps heading at the fixed
    // place, two gaps, effect heading and one line, other dishes heading.
    int32_t y = 1000;
    int32_t steps = y + g.lineHeight + 7 * g.lineGap + 60 * g.unitY;
    int32_t expected = steps + pitch() + 2 * g.lineGap + pitch() + g.lineHeight + 3 * g.lineGap + pitch();
    EXPECT_EQ(printDishSection(entry(kEmptyEntry), dialog, g, y, &entries.state, 0), expected);
    EXPECT_GT(printDishSection(entry(kLongEntry), dialog, g, y, &entries.state, 0), expected + 10 * pitch());
}

TEST_F(SectionCases, dishAmountsStandInTheirOwnColumn) {
    startDocument(testOutputFolder());
    ASSERT_GT(StartPage(printer.get()), 0);
    printDishSection(entry(kLongEntry), dialog, g, g.marginTop, &entries.state, 1);
    ASSERT_GT(EndPage(printer.get()), 0);
    ASSERT_GT(EndDoc(printer.get()), 0);
    std::vector<GreyPage> pages = renderPostScript(psPath, 100);
    ASSERT_EQ(pages.size(), 1u);
    // Above the steps, nothing but the amounts lies right of the name column.
    const int32_t stepsTop = g.marginTop + g.lineHeight + 7 * g.lineGap + 60 * g.unitY;
    EXPECT_GT(
        pages[0].inkIn(scaled(150 * g.unitX, 100), scaled(g.marginTop, 100), pages[0].width, scaled(stepsTop, 100)), 0);
}

TEST_F(SectionCases, printersLeaveTheDcFontAsTheyFoundIt) {
    HGDIOBJ before = GetCurrentObject(printer.get(), OBJ_FONT);
    for (const Printer& p : kPrinters) {
        p.print(entry(kLongEntry), dialog, g, g.marginTop, &entries.state, 0);
        EXPECT_EQ(GetCurrentObject(printer.get(), OBJ_FONT), before) << p.name;
    }
}

TEST_F(PrintedSectionsTest, bodyLinesPrintWholeGlyphsHangTheirFullStopsAndJustifyCarriedLines) {
    std::string folder = testOutputFolder();
    startDocument(folder);
    ASSERT_GT(StartPage(printer.get()), 0);
    OwnedFont font = newRomanFont(g.lineHeight);
    HGDIOBJ previousFont = SelectObject(printer.get(), font.get());
    const int32_t pitch = g.lineHeight + g.lineGap;

    // A body line with a closing bracket, a descender and an ampersand, and
    // the same characters drawn by TextOutA, which clips nothing and knows no
    // prefix characters, three lines lower.
    const char kSample[] = "」g&」g」g";
    const int32_t sampleTop = 600;
    const int32_t referenceTop = sampleTop + 3 * pitch;
    RECT column{g.marginLeft, sampleTop, g.marginRight, g.marginBottom};
    EXPECT_EQ(printTextBlock(printer.get(), kSample, column, g.lineGap, g.lineHeight, 0), sampleTop + pitch);
    printTextBlock(printer.get(), kSample, column, g.lineGap, g.lineHeight, 1);
    TextOutA(printer.get(), g.marginLeft, referenceTop, kSample, lstrlenA(kSample));

    // A column exactly as wide as a line of あ, then 。 and い: the full stop
    // stays on the full line, wholly past the right edge; a 」 in its place
    // would take the last あ along to the next line.
    std::string full;
    SIZE size{};
    for (;;) {
        std::string longer = full + "あ";
        GetTextExtentPoint32A(printer.get(), longer.c_str(), static_cast<int>(longer.size()), &size);
        if (size.cx > g.marginRight - g.marginLeft) break;
        full = longer;
    }
    GetTextExtentPoint32A(printer.get(), full.c_str(), static_cast<int>(full.size()), &size);
    const int32_t right = g.marginLeft + size.cx;
    const int32_t fullChars = static_cast<int32_t>(full.size() / 2);
    const std::string hanging = full + "。い";
    RECT line{g.marginLeft, 0, right, 0};
    int32_t bytes = 0;
    EXPECT_EQ(measurePrintLine(printer.get(), hanging.c_str(), line, &bytes), fullChars + 1);
    EXPECT_EQ(bytes, 2 * fullChars + 2);
    EXPECT_EQ(measurePrintLine(printer.get(), (full + "」い").c_str(), line, &bytes), fullChars - 1);
    EXPECT_EQ(bytes, 2 * fullChars - 2);
    const int32_t hangingTop = referenceTop + 3 * pitch;
    RECT hangingColumn{g.marginLeft, hangingTop, right, g.marginBottom};
    EXPECT_EQ(printTextBlock(printer.get(), hanging.c_str(), hangingColumn, g.lineGap, g.lineHeight, 0),
              hangingTop + 2 * pitch);
    printTextBlock(printer.get(), hanging.c_str(), hangingColumn, g.lineGap, g.lineHeight, 1);
    // The same full line with 」 in place of 。: the line that carries its last
    // あ along is spread to the measure, so it ends where the full line does;
    // the paragraph's last line is not spread.
    const int32_t fullTop = hangingTop + 3 * pitch;
    const int32_t carriedTop = fullTop + pitch;
    TextOutA(printer.get(), g.marginLeft, fullTop, full.c_str(), static_cast<int>(full.size()));
    const std::string carried = full + "」い";
    RECT carriedColumn{g.marginLeft, carriedTop, right, g.marginBottom};
    printTextBlock(printer.get(), carried.c_str(), carriedColumn, g.lineGap, g.lineHeight, 1);

    SelectObject(printer.get(), previousFont);
    ASSERT_GT(EndPage(printer.get()), 0);
    ASSERT_GT(EndDoc(printer.get()), 0);
    std::vector<GreyPage> pages = renderPostScript(psPath, 300);
    ASSERT_EQ(pages.size(), 1u);
    const GreyPage& page = pages[0];

    // The lowest inked row at or below top, within two line heights.
    auto lowestInk = [&](int32_t top) {
        int32_t lowest = -1;
        for (int32_t y = top; y < top + 2 * g.lineHeight; ++y)
            if (page.inkIn(g.marginLeft - 20, y, g.marginRight, y + 1) > 0) lowest = y;
        return lowest;
    };
    const int32_t sampleBottom = lowestInk(sampleTop);
    const int32_t referenceBottom = lowestInk(referenceTop);
    ASSERT_GT(referenceBottom, referenceTop);
    EXPECT_NEAR(sampleBottom - sampleTop, referenceBottom - referenceTop, 1);
    // The bottoms of 」 and g lie below a box ten pixels short of the line height.
    EXPECT_GT(referenceBottom - referenceTop, g.lineHeight - 10);
    // The & is printed, so the line ends where the reference does.
    auto rightmostInk = [&](int32_t top) {
        int32_t rightmost = -1;
        for (int32_t x = g.marginLeft; x < g.marginRight; ++x)
            if (page.inkIn(x, top, x + 1, top + g.lineHeight + g.lineGap) > 0) rightmost = x;
        return rightmost;
    };
    EXPECT_NEAR(rightmostInk(sampleTop) - g.marginLeft, rightmostInk(referenceTop) - g.marginLeft, 1);

    // The full stop is inked right of the column, on the first line only.
    EXPECT_GT(page.inkIn(right, hangingTop, right + g.lineHeight, hangingTop + g.lineHeight), 0);
    EXPECT_EQ(page.inkIn(right, hangingTop + pitch, page.width, hangingTop + 2 * pitch), 0);
    // い begins the second line.
    const int32_t secondTop = hangingTop + pitch;
    EXPECT_GT(page.inkIn(g.marginLeft, secondTop, g.marginLeft + g.lineHeight, secondTop + g.lineHeight), 0);

    const int32_t fullRight = rightmostInk(fullTop);
    ASSERT_GT(fullRight, right - g.lineHeight);
    EXPECT_NEAR(rightmostInk(carriedTop), fullRight, 2);
    EXPECT_LT(rightmostInk(carriedTop + pitch), g.marginLeft + 4 * g.lineHeight);
}

}  // namespace
