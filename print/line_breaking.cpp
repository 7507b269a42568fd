#include "print/line_breaking.h"

namespace {

constexpr char kNewline = '\n';
// The line box handed to the drawing stops ten pixels short of the line height
// (the drawing call does not clip to it).
constexpr int32_t kLineBoxShortfall = 10;

// Shift-JIS codes, lead << 8 | trail (the sources are not Shift-JIS, so the
// characters are written as numbers on both builds).
constexpr uint16_t kHangingMarks[] = {
    0x8141, 0x8142, ',', '.',  // 、 。 , .
};
constexpr uint16_t kLineStartProhibited[] = {
    // 、 。 ， ． ・ ： ； ？ ！ ゛ ゜
    0x8141,
    0x8142,
    0x8143,
    0x8144,
    0x8145,
    0x8146,
    0x8147,
    0x8148,
    0x8149,
    0x814A,
    0x814B,
    // ヽ ヾ ゝ ゞ 々 ー ‐ ～
    0x8152,
    0x8153,
    0x8154,
    0x8155,
    0x8158,
    0x815B,
    0x815D,
    0x8160,
    // ’ ” ） 〕 ］ ｝ 〉 》 」 』 】
    0x8166,
    0x8168,
    0x816A,
    0x816C,
    0x816E,
    0x8170,
    0x8172,
    0x8174,
    0x8176,
    0x8178,
    0x817A,
    // ぁ ぃ ぅ ぇ ぉ っ ゃ ゅ ょ ゎ
    0x829F,
    0x82A1,
    0x82A3,
    0x82A5,
    0x82A7,
    0x82C1,
    0x82E1,
    0x82E3,
    0x82E5,
    0x82EC,
    // ァ ィ ゥ ェ ォ ッ ャ ュ ョ ヮ ヵ ヶ
    0x8340,
    0x8342,
    0x8344,
    0x8346,
    0x8348,
    0x8362,
    0x8383,
    0x8385,
    0x8387,
    0x838E,
    0x8395,
    0x8396,
    // one-byte: ! ) , . : ; ? ] } and the half-width ｡ ｣ ､ ･ ｧ-ｯ ｰ
    '!',
    ')',
    ',',
    '.',
    ':',
    ';',
    '?',
    ']',
    '}',
    0xA1,
    0xA3,
    0xA4,
    0xA5,
    0xA7,
    0xA8,
    0xA9,
    0xAA,
    0xAB,
    0xAC,
    0xAD,
    0xAE,
    0xAF,
    0xB0,
};

template <std::size_t N>
bool contains(const uint16_t (&codes)[N], uint16_t code) {
    for (uint16_t c : codes)
        if (c == code) return true;
    return false;
}

// A lead byte right before the end counts as a character of its own, so a
// line never reaches past the text.
std::size_t characterLength(std::string_view text, std::size_t pos) {
    return isShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Where the line before the character at breakPos ends, `fitting` characters
// having fitted in front of it.
PrintLine fullLine(std::string_view text, std::size_t breakPos, int32_t fitting) {
    const std::size_t n = text.size();
    const std::size_t after = breakPos + characterLength(text, breakPos);
    // 、 。 , . stay at the end of the line, drawn past the edge, as long as what
    // follows may begin the next line. A newline right after the mark goes with
    // it, or it would leave an empty line behind.
    if (isHangingMark(firstCharacterCode(text.substr(breakPos))) &&
        (after >= n || !isLineStartProhibited(firstCharacterCode(text.substr(after))))) {
        if (after < n && text[after] == kNewline) return {fitting + 2, static_cast<int32_t>(after + 1)};
        return {fitting + 1, static_cast<int32_t>(after)};
    }
    // Any other character that must not begin a line takes the characters in
    // front of it along until the next line begins with one that may. When
    // that would empty this line (a line of nothing but such characters) the
    // width break stands.
    std::size_t start = breakPos;
    int32_t kept = fitting;
    while (isLineStartProhibited(firstCharacterCode(text.substr(start)))) {
        if (kept == 1) return {fitting, static_cast<int32_t>(breakPos)};
        // Character boundaries are found from the line start: a trail byte can
        // look like a lead byte.
        std::size_t previous = 0;
        for (std::size_t p = 0; p < start; p += characterLength(text, p)) previous = p;
        start = previous;
        --kept;
    }
    return {kept, static_cast<int32_t>(start)};
}

}  // namespace

uint16_t firstCharacterCode(std::string_view text) {
    if (text.empty()) return 0;
    auto byte = [&](std::size_t i) { return static_cast<uint16_t>(static_cast<unsigned char>(text[i])); };
    return characterLength(text, 0) == 2 ? static_cast<uint16_t>(byte(0) << 8 | byte(1)) : byte(0);
}

bool isLineStartProhibited(uint16_t code) { return contains(kLineStartProhibited, code); }

bool isHangingMark(uint16_t code) { return contains(kHangingMarks, code); }

PrintLine breakPrintLine(std::string_view text, int32_t width, const MeasureText& measure) {
    const std::size_t n = text.size();
    std::size_t pos = 0;
    int32_t chars = 0;
    while (pos < n) {
        // A newline ends the line whatever width it would take.
        if (text[pos] == kNewline) return {chars + 1, static_cast<int32_t>(pos + 1)};
        std::size_t end = pos + characterLength(text, pos);
        // The whole prefix is measured: kerning and rounding make the sum of
        // single-character widths differ from the width of the line.
        if (measure(text.data(), static_cast<int32_t>(end)) > width) {
            // Not even the first character fits: the line is empty.
            return chars == 0 ? PrintLine{} : fullLine(text, pos, chars);
        }
        ++chars;
        if (end >= n) return {chars, static_cast<int32_t>(end)};
        pos = end;
    }
    return {};
}

int32_t layoutTextBlock(std::string_view text, const LineBox& area, int32_t lineGap, int32_t lineHeight,
                        const MeasureText& measure, const DrawLine* drawLine) {
    const int32_t width = area.right - area.left;
    LineBox box{area.left, area.top, area.right, area.top + lineHeight - kLineBoxShortfall};
    PrintLine line = breakPrintLine(text, width, measure);
    // Ends at the end of the text, or at the first line on which nothing fits:
    // the rest of the text is then neither drawn nor counted.
    while (line.charCount != 0 && line.byteCount != 0) {
        if (drawLine) (*drawLine)(text.substr(0, static_cast<std::size_t>(line.byteCount)), box);
        box.top += lineHeight + lineGap;
        box.bottom = box.top + lineHeight - kLineBoxShortfall;
        text.remove_prefix(static_cast<std::size_t>(line.byteCount));
        line = breakPrintLine(text, width, measure);
    }
    return box.top;
}
