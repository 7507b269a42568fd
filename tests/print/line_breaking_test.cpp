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

const LineCase kLineCases[] = {
    {"emptyText", "", 100, 0, 0},
    {"newlineEndsTheLine", "abc\ndef", 100, 4, 4},
    {"newlineConsumedWhateverTheWidth", "\nabc", 0, 1, 1},
    {"exactFitIsNotBroken", "abc", 30, 3, 3},
    {"oneMoreCharacterMoves", "abcd", 30, 3, 3},
    {"twoByteCharacterMovesWhole", "ab" + kHiragana, 30, 2, 2},
    {"twoByteCharacterFitsExactly", "a" + kHiragana + "b", 30, 2, 3},
    {"byteF0IsOneCharacter", "\xF0\x40\x41", 100, 3, 3},
    {"byteF0BreaksAlone", "\xF0\x40", 10, 1, 1},
    {"byteE0IsALeadByte", "\xE0\x40z", 20, 1, 2},
    {"halfWidthKanaIsOneByte", "\xB1\xB2", 10, 1, 1},
    {"leadByteAtTheEndIsOneByte", "a\x82", 100, 2, 2},
    {"carriageReturnIsOrdinary", "a\rb", 20, 2, 2},
    {"narrowerThanOneCharacter", "abc", 5, 0, 0},
    {"narrowerThanATwoByteCharacter", kHiragana, 15, 0, 0},
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
    DrawLine record = [&](std::string_view line, const LineBox& box) { drawn.push_back({std::string(line), box}); };
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

INSTANTIATE_TEST_SUITE_P(Lines, LineCount, ::testing::Values(1, 2, 3, 7, 60));

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

}  // namespace
