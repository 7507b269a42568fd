#include "print/line_breaking.h"

#include <gtest/gtest.h>

#include <string>

// Which characters may begin or end a line is checked on the screen's wrapping
// (tests/base/text_lines_test.cpp); here what paper does with them.

namespace {

// A fixed-width font: every byte 10 pixels, so a two-byte character is 20.
const MeasureText kFixedWidth = [](const char*, int32_t length) { return length * 10; };
constexpr int32_t kGap = 4;
constexpr int32_t kHeight = 30;
constexpr int32_t kPitch = kHeight + kGap;

const std::string kA = "\x82\xA0";      // あ
const std::string kI = "\x82\xA2";      // い
const std::string kU = "\x82\xA4";      // う
const std::string kE = "\x82\xA6";      // え
const std::string kStop = "\x81\x42";   // 。
const std::string kClose = "\x81\x76";  // 」
const std::string kAsia = "\x88\x9F";   // 亜: its trail byte is a lead byte when read alone
const std::string kAUI = kA + kI + kU;  // three characters fill a 60-pixel line

std::string times(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// The line at the start of a text: its characters and bytes, and whether it
// ended early to keep the next line from beginning badly.
TEST(LineBreaking, breaksWhereTheWidthAndTheMarksSay) {
    struct Case {
        const char* name;
        std::string text;
        int32_t width;
        int32_t chars;
        int32_t bytes;
        bool carried = false;
    };
    const Case cases[] = {
        {"emptyText", "", 100, 0, 0},
        {"newlineEndsTheLine", "abc\ndef", 100, 4, 4},
        {"newlineConsumedWhateverTheWidth", "\nabc", 0, 1, 1},
        {"carriageReturnIsOrdinary", "a\rb", 20, 2, 2},
        {"exactFitIsNotBroken", "abc", 30, 3, 3},
        {"oneMoreCharacterMoves", "abcd", 30, 3, 3},
        {"twoByteCharacterMovesWhole", "ab" + kA, 30, 2, 2},
        {"twoByteCharacterFitsExactly", "a" + kA + "b", 30, 2, 3},
        // 0xE0-0xFC lead two-byte characters too (FA-FC: extension kanji such as 髙).
        {"byteF0LeadsATwoByteCharacter", "\xF0\x40\x41", 100, 2, 3},
        {"extensionKanjiMovesWhole", "a\xFB\xFC", 20, 1, 1},
        {"byteE0IsALeadByte", "\xE0\x40z", 20, 1, 2},
        {"halfWidthKanaIsOneByte", "\xB1\xB2", 10, 1, 1},
        {"leadByteAtTheEndIsOneByte", "a\x82", 100, 2, 2},
        {"narrowerThanOneCharacter", "abc", 5, 0, 0},
        // 、 。 , . stay on the full line, past the edge: both counts take them.
        {"fullStopHangs", kAUI + kStop + kE, 60, 4, 8},
        {"commaHangs", kAUI + "\x81\x41" + kE, 60, 4, 8},
        {"asciiCommaHangs", "abcdef,g", 60, 7, 7},
        {"asciiFullStopHangs", "abcdef.", 60, 7, 7},
        {"hangingMarkEndsTheText", kAUI + kStop, 60, 4, 8},
        {"newlineAfterAHangingMarkJoinsItsLine", kAUI + kStop + "\n" + kE, 60, 5, 9},
        {"wideCommaDoesNotHang", kAUI + "\x81\x43", 60, 2, 4, true},
        // Other marks that may not begin a line take the character before them
        // along, and so does a hanging mark followed by one of them.
        {"closingBracketCarriesOneCharacter", kAUI + kClose + kE, 60, 2, 4, true},
        {"fullStopThenBracket", kAUI + kStop + kClose, 60, 2, 4, true},
        {"runOfTwoCarriesPastBoth", kA + kI + "\x81\x6A" + kClose + kE, 40, 1, 2, true},
        // An opening bracket does not end a line: it goes to the next with its word.
        {"openingBracketCarried", kA + kI + "\x81\x75" + kU, 60, 2, 4, true},
        // The carried character is a whole one, found from the line start.
        {"carriesAOneByteCharacterBeforeATwoByteOne", "abc" + kA + kClose, 50, 3, 3, true},
        {"carriesATwoByteCharacterWithALeadByteTrail", "a" + kAsia + kAsia + kClose, 50, 2, 3, true},
        // Nothing to carry: the line keeps its width break.
        {"lineOfProhibitedCharacters", times("\x81\x5B", 4), 40, 2, 4},
        {"firstCharacterAfterANewlineIsLeftAlone", kClose + kA, 60, 2, 4},
        {"fullStopThatDoesNotFitAlone", kStop, 15, 0, 0},
    };
    for (const Case& c : cases) {
        PrintLine line = breakPrintLine(c.text, c.width, kFixedWidth);
        EXPECT_EQ(line.charCount, c.chars) << c.name;
        EXPECT_EQ(line.byteCount, c.bytes) << c.name;
        EXPECT_EQ(line.carried, c.carried) << c.name;
    }
}

// A text laid out in a column of `width`, from y 500: its lines joined by
// '|', each in its box one pitch below the last; measuring ends where drawing does.
TEST(LineBreaking, blocksDrawAndMeasureTheSameLinesOnePitchApart) {
    struct Case {
        const char* name;
        std::string text;
        int32_t width;
        std::string lines;
    };
    const Case cases[] = {
        {"emptyTextHasNoLine", "", 100, ""},
        {"trailingNewlineAddsNoLine", "abc\n", 100, "abc\n"},
        {"twoNewlinesGiveAnEmptyLine", "abc\n\ndef", 100, "abc\n|\n|def"},
        {"onlyNewlines", "\n\n", 100, "\n|\n"},
        {"exactlyOneLine", "0123456789", 100, "0123456789"},
        {"oneByteOver", "0123456789x", 100, "0123456789|x"},
        {"twoByteCharacterThatDoesNotFitStartsTheNextLine", "123456789" + kA, 100, "123456789|" + kA},
        {"nothingFitsDropsEveryLine", "abc\ndef", 5, ""},
        // The rest of the text is neither drawn nor counted.
        {"aLineOnWhichNothingFitsEndsTheBlock", "a\n" + kA + "b\nc", 15, "a\n"},
        // More than two and a half times the old 9999-byte buffer, whole.
        {"textsOverTheOldBufferSizeAreWhole", times("abcdefgh" + kA, 2500), 100,
         times("abcdefgh" + kA + "|", 2499) + "abcdefgh" + kA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LineBox area{100, 500, 100 + c.width, 900000};
        std::string lines;
        int32_t count = 0;
        DrawLine record = [&](std::string_view line, const LineBox& box, bool) {
            lines.append(count > 0 ? "|" : "").append(line);
            EXPECT_EQ(box.left, area.left);
            EXPECT_EQ(box.right, area.right);
            EXPECT_EQ(box.top, area.top + count * kPitch);
            EXPECT_EQ(box.bottom, box.top + kHeight - 10);
            ++count;
        };
        int32_t drawnBottom = layoutTextBlock(c.text, area, kGap, kHeight, kFixedWidth, &record);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(drawnBottom, area.top + count * kPitch);
        EXPECT_EQ(layoutTextBlock(c.text, area, kGap, kHeight, kFixedWidth, nullptr), drawnBottom);
    }
}

}  // namespace
