#include "print/line_breaking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A fixed-width font: every byte 10 pixels, so a two-byte character is 20.
constexpr int32_t kByteWidth = 10;
const MeasureText kFixedWidth = [](const char*, int32_t length) { return length * kByteWidth; };

constexpr int32_t kGap = 4;
constexpr int32_t kHeight = 30;
constexpr int32_t kPitch = kHeight + kGap;

const std::string kHiragana = "\x82\xA0";  // one two-byte character

struct LineCase {
    const char* name;
    std::string text;
    int32_t width;
    int32_t chars;
    int32_t bytes;
};
// Test output names the case, not its bytes.
void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

const LineCase kLineCases[] = {
    {"emptyText", "", 100, 0, 0},
    {"newlineEndsTheLine", "abc\ndef", 100, 4, 4},
    {"newlineConsumedWhateverTheWidth", "\nabc", 0, 1, 1},
    {"exactFitIsNotBroken", "abc", 30, 3, 3},
    {"oneMoreCharacterMoves", "abcd", 30, 3, 3},
    {"twoByteCharacterMovesWhole", "ab" + kHiragana, 30, 2, 2},
    {"twoByteCharacterFitsExactly", "a" + kHiragana + "b", 30, 2, 3},
    // 0xF0-0xFC lead two-byte characters too (FA-FC: the extension kanji such as 髙).
    {"byteF0LeadsATwoByteCharacter", "\xF0\x40\x41", 100, 2, 3},
    {"extensionKanjiMovesWhole", "a\xFB\xFC", 20, 1, 1},
    {"byteE0IsALeadByte", "\xE0\x40z", 20, 1, 2},
    {"halfWidthKanaIsOneByte", "\xB1\xB2", 10, 1, 1},
    {"leadByteAtTheEndIsOneByte", "a\x82", 100, 2, 2},
    {"carriageReturnIsOrdinary", "a\rb", 20, 2, 2},
    {"narrowerThanOneCharacter", "abc", 5, 0, 0},
    {"narrowerThanATwoByteCharacter", kHiragana, 15, 0, 0},
};

// Line-start rules. Columns of 60 pixels hold three two-byte characters.
const std::string kA = "\x82\xA0";          // あ
const std::string kI = "\x82\xA2";          // い
const std::string kU = "\x82\xA4";          // う
const std::string kE = "\x82\xA6";          // え
const std::string kComma = "\x81\x41";      // 、
const std::string kStop = "\x81\x42";       // 。
const std::string kWideComma = "\x81\x43";  // ，
const std::string kClose = "\x81\x76";      // 」
const std::string kParen = "\x81\x6A";      // ）
const std::string kSmallTsu = "\x82\xC1";   // っ
const std::string kLong = "\x81\x5B";       // ー
const std::string kAsia = "\x88\x9F";       // 亜: its trail byte is a lead byte when read alone
const std::string kAUI = kA + kI + kU;

const LineCase kLineStartCases[] = {
    // 、 and 。 (and , .) stay on the full line, past the edge: both counts take them.
    {"fullStopHangs", kAUI + kStop + kE, 60, 4, 8},
    {"commaHangs", kAUI + kComma + kE, 60, 4, 8},
    {"asciiCommaHangs", "abcdef,g", 60, 7, 7},
    {"asciiFullStopHangs", "abcdef.", 60, 7, 7},
    {"hangingMarkEndsTheText", kAUI + kStop, 60, 4, 8},
    {"newlineAfterAHangingMarkJoinsItsLine", kAUI + kStop + "\n" + kE, 60, 5, 9},
    // Other prohibited characters take the character before them to the next line.
    {"closingBracketCarriesOneCharacter", kAUI + kClose + kE, 60, 2, 4},
    {"smallKanaCarriesOneCharacter", kAUI + kSmallTsu + kE, 60, 2, 4},
    {"wideCommaDoesNotHang", kAUI + kWideComma, 60, 2, 4},
    // A hanging mark followed by one that may not start a line cannot hang.
    {"fullStopThenBracket", kAUI + kStop + kClose, 60, 2, 4},
    {"fullStopThenFullStop", kAUI + kStop + kStop, 60, 2, 4},
    {"runOfTwoCarriesPastBoth", kA + kI + kParen + kClose + kE, 40, 1, 2},
    {"bracketThenFullStop", kAUI + kClose + kStop, 60, 2, 4},
    // An opening bracket does not end a line: it goes to the next with its word.
    {"openingBracketCarried", kA + kI + "\x81\x75" + kU, 60, 2, 4},
    // The carried character is a whole one, found from the line start.
    {"carriesAOneByteCharacterBeforeATwoByteOne", "abc" + kA + kClose, 50, 3, 3},
    {"carriesATwoByteCharacterWithALeadByteTrail", "a" + kAsia + kAsia + kClose, 50, 2, 3},
    // Nothing to carry: the line keeps its width break.
    {"lineOfProhibitedCharacters", kLong + kLong + kLong + kLong, 40, 2, 4},
    {"prohibitedRunFromTheLineStart", kClose + kLong + kLong, 40, 2, 4},
    {"firstCharacterAfterANewlineIsLeftAlone", kClose + kA, 60, 2, 4},
    {"fullStopThatDoesNotFitAlone", kStop, 15, 0, 0},
};

class LineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineTable, breaksWhereTheWidthSays) {
    const LineCase& c = GetParam();
    PrintLine line = breakPrintLine(c.text, c.width, kFixedWidth);
    EXPECT_EQ(line.charCount, c.chars);
    EXPECT_EQ(line.byteCount, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineTable, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(LineStarts, LineTable, ::testing::ValuesIn(kLineStartCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineBreaking, measuresTheWholePrefixFromTheLineStart) {
    std::vector<int32_t> lengths;
    MeasureText recording = [&](const char*, int32_t length) {
        lengths.push_back(length);
        return length * kByteWidth;
    };
    breakPrintLine("a" + kHiragana + "b", 100, recording);
    EXPECT_EQ(lengths, (std::vector<int32_t>{1, 3, 4}));
}

struct Drawn {
    std::string line;
    LineBox box;
};

std::vector<Drawn> drawAll(const std::string& text, const LineBox& area, int32_t* bottom = nullptr) {
    std::vector<Drawn> drawn;
    DrawLine record = [&](std::string_view line, const LineBox& box, bool) {
        drawn.push_back({std::string(line), box});
    };
    int32_t y = layoutTextBlock(text, area, kGap, kHeight, kFixedWidth, &record);
    if (bottom) *bottom = y;
    return drawn;
}

constexpr LineBox kArea{100, 500, 200, 9000};  // ten bytes a line

struct BlockCase {
    const char* name;
    std::string text;
    int32_t lines;
};
void PrintTo(const BlockCase& c, std::ostream* out) { *out << c.name; }

const BlockCase kBlockCases[] = {
    {"emptyTextHasNoLine", "", 0},
    {"trailingNewlineAddsNoLine", "abc\n", 1},
    {"twoNewlinesGiveAnEmptyLine", "abc\n\ndef", 3},
    {"onlyNewlines", "\n\n", 2},
    {"exactlyOneLine", "0123456789", 1},
    {"oneByteOver", "0123456789x", 2},
};

class BlockTable : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockTable, measuringAndDrawingAgree) {
    const BlockCase& c = GetParam();
    int32_t measured = layoutTextBlock(c.text, kArea, kGap, kHeight, kFixedWidth, nullptr);
    int32_t drawnBottom = 0;
    std::vector<Drawn> drawn = drawAll(c.text, kArea, &drawnBottom);
    EXPECT_EQ(measured, kArea.top + c.lines * kPitch);
    EXPECT_EQ(drawnBottom, measured);
    EXPECT_EQ(static_cast<int32_t>(drawn.size()), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Blocks, BlockTable, ::testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineBreaking, nothingFitsDropsEveryLineWithAnEmptyResult) {
    LineBox narrow{0, 40, 5, 100};
    EXPECT_EQ(layoutTextBlock("abc\ndef", narrow, kGap, kHeight, kFixedWidth, nullptr), 40);
    EXPECT_TRUE(drawAll("abc\ndef", narrow).empty());
}

TEST(LineBreaking, aLineOnWhichNothingFitsEndsTheBlock) {
    // 15 pixels hold "a" but not the two-byte character: the y stays below
    // the first line and the rest is neither drawn nor counted.
    LineBox column{0, 40, 15, 100};
    std::string text = "a\n" + kHiragana + "b\nc";
    EXPECT_EQ(layoutTextBlock(text, column, kGap, kHeight, kFixedWidth, nullptr), 40 + kPitch);
    EXPECT_EQ(drawAll(text, column).size(), 1u);
}

TEST(LineBreaking, twoByteCharacterThatDoesNotFitStartsTheNextLine) {
    // 9 bytes fill 90 of 100 pixels; the two-byte character would need 110.
    std::vector<Drawn> drawn = drawAll("123456789" + kHiragana, kArea);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].line, "123456789");
    EXPECT_EQ(drawn[1].line, kHiragana);
    EXPECT_EQ(static_cast<unsigned char>(drawn[1].line[0]), 0x82);
}

TEST(LineBreaking, linesKeepTheirNewlineAndAFixedPitch) {
    std::vector<Drawn> drawn = drawAll("ab\ncd", kArea);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].line, "ab\n");
    EXPECT_EQ(drawn[1].line, "cd");
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const LineBox& box = drawn[i].box;
        EXPECT_EQ(box.left, kArea.left);
        EXPECT_EQ(box.right, kArea.right);
        EXPECT_EQ(box.top, kArea.top + static_cast<int32_t>(i) * kPitch);
        EXPECT_EQ(box.bottom, box.top + kHeight - 10);
    }
}

class LineCount : public ::testing::TestWithParam<int> {};

TEST_P(LineCount, kLinesEndKPitchesBelowTheTop) {
    int k = GetParam();
    // The last line is used only partly: the result does not depend on it.
    std::string text;
    for (int i = 0; i < k - 1; ++i) text += "0123456789";
    text += "x";
    EXPECT_EQ(layoutTextBlock(text, kArea, kGap, kHeight, kFixedWidth, nullptr), kArea.top + k * kPitch);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineCount, ::testing::Values(1, 2, 3, 7, 60),
                         [](const testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "Lines"; });

TEST(LineBreaking, textsOverTheOldBufferSizeAreWhole) {
    // 25000 bytes, more than two and a half times 9999: every byte is laid out
    // once, in order, and nothing is read past the end.
    std::string text;
    while (text.size() < 25000) text += "abcdefgh" + kHiragana;
    std::vector<Drawn> drawn = drawAll(text, kArea);
    std::string joined;
    for (const Drawn& d : drawn) joined += d.line;
    EXPECT_EQ(joined, text);
    EXPECT_EQ(layoutTextBlock(text, kArea, kGap, kHeight, kFixedWidth, nullptr),
              kArea.top + static_cast<int32_t>(drawn.size()) * kPitch);
    EXPECT_EQ(drawn.size(), 2500u);  // ten bytes a line
}

TEST(LineBreaking, noBrokenLineOfAParagraphStartsWithAProhibitedCharacter) {
    // A paragraph thick with marks (runs of up to two), broken in every width
    // from four to twelve characters: no line that a full line pushed down begins with a mark,
    // only 、 and 。 reach past the column, nothing is lost, and measuring
    // and drawing count the same lines.
    const std::string paragraph =
        "\x82\xB7\x82\xC1\x82\xCF\x82\xA2\x81\x75\x82\xA0\x81\x41\x82\xA2"
        "\x81\x42\x81\x76\x83\x5E\x83\x8C\x81\x5B\x81\x45\x83\x5C\x81\x5B"
        "\x83\x58\x81\x69\x82\xA9\x82\xE7\x82\xB5\x81\x6A\x81\x42\x82\xBF"
        "\x82\xE5\x82\xC1\x82\xC6\x81\x41\x82\xA4\x82\xE1\x81\x49\x81\x48";
    std::string text;
    for (int i = 0; i < 6; ++i) text += paragraph + (i % 2 ? "\n" : "");
    for (int32_t width = 80; width <= 240; width += 10) {
        LineBox area{0, 0, width, 100000};
        std::vector<Drawn> drawn;
        DrawLine record = [&](std::string_view line, const LineBox& box, bool) {
            drawn.push_back({std::string(line), box});
        };
        int32_t drawnBottom = layoutTextBlock(text, area, kGap, kHeight, kFixedWidth, &record);
        EXPECT_EQ(layoutTextBlock(text, area, kGap, kHeight, kFixedWidth, nullptr), drawnBottom) << width;
        EXPECT_EQ(drawnBottom, static_cast<int32_t>(drawn.size()) * kPitch) << width;
        std::string joined;
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            const std::string& line = drawn[i].line;
            joined += line;
            std::string body = line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
            int32_t over = kFixedWidth(body.data(), static_cast<int32_t>(body.size())) - width;
            if (over > 0) {
                EXPECT_LE(over, 20) << "width " << width << ", line " << i;
                EXPECT_TRUE(isHangingMark(firstCharacterCode(body.substr(body.size() - 2)))) << width << ", " << i;
            }
            if (i > 0 && drawn[i - 1].line.back() != '\n') {
                EXPECT_FALSE(isLineStartProhibited(firstCharacterCode(line))) << "width " << width << ", line " << i;
            }
        }
        EXPECT_EQ(joined, text) << width;
    }
}

}  // namespace
