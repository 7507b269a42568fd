#include "base/text_lines.h"

#include <algorithm>

#include "base/shift_jis.h"

namespace {

// Shift-JIS codes, lead << 8 | trail (the sources are not Shift-JIS, so the
// characters are written as numbers on both builds).
constexpr uint16_t kNoLineStart[] = {
    0x8140, 0x8141, 0x8142, 0x8143, 0x8144, 0x8145, 0x8146, 0x8147, 0x8148, 0x8149,  // 　、。，．・：；？！
    0x814A, 0x814B, 0x8152, 0x8153, 0x8154, 0x8155, 0x8158, 0x815B, 0x815D, 0x8160,  // ゛゜ヽヾゝゞ々ー‐～
    0x8163, 0x8164, 0x8166, 0x8168,                                                  // …‥’”
    0x816A, 0x816C, 0x816E, 0x8170, 0x8172, 0x8174, 0x8176, 0x8178, 0x817A,          // ）〕］｝〉》」』】
    0x818B, 0x818C, 0x818D, 0x818E, 0x8193,                                          // °′″℃％
    0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3, 0x82E5, 0x82EC,  // ぁぃぅぇぉっゃゅょゎ
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385, 0x8387, 0x838E,  // ァィゥェォッャュョヮ
    0x8395, 0x8396,                                                                  // ヵヶ
    0xA1,   0xA3,   0xA4,   0xA5,   0xA7,   0xA8,   0xA9,   0xAA,   0xAB,   0xAC,  // half-width ｡｣､･ｧｨｩｪｫｬ
    0xAD,   0xAE,   0xAF,   0xB0,   0xDE,   0xDF,                                  // ｭｮｯｰﾞﾟ
    ')',    ']',    '}',    '!',    '?',    ',',    '.',    ':',    ';',    '%',
};

constexpr uint16_t kNoLineEnd[] = {
    0x8165, 0x8167, 0x8169, 0x816B, 0x816D, 0x816F, 0x8171, 0x8173, 0x8175, 0x8177, 0x8179,  // ‘“（〔［｛〈《「『【
    0x818F, 0x8190, 0xA2,   '(',    '[',    '{',    '$',                                     // ￥＄｢
};

constexpr uint16_t kHangingMarks[] = {0x8141, 0x8142, ',', '.'};  // 、 。 , .

template <std::size_t N>
bool listed(const uint16_t (&codes)[N], uint16_t code) {
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

// Letters, digits and signs of a Latin word, and the Greek letters written in
// one with them (340μg): no break inside such a word.
bool isWordCharacter(uint16_t code) {
    return (code > 0x20 && code < 0x7F) || (code >= 0x839F && code <= 0x83B6) || (code >= 0x83BF && code <= 0x83D6);
}

// Whether a line may end between these two characters.
bool mayBreakBetween(uint16_t before, uint16_t after) {
    if (after == ' ') return false;  // spaces stay with the line they follow
    if (before == ' ') return true;
    if (isLineStartProhibited(after) || isLineEndProhibited(before)) return false;
    return !(isWordCharacter(before) && isWordCharacter(after));
}

uint16_t codeAt(std::string_view text, std::size_t at) { return firstCharacterCode(text.substr(at)); }

// One paragraph (no newline) into lines; `offset` is the paragraph's place in
// the whole text.
void wrapParagraph(std::string_view paragraph, std::size_t offset, int32_t width, const MeasureText& measure,
                   std::vector<WrappedLine>& lines) {
    std::vector<std::size_t> starts;  // the byte offset of every character, and the end
    for (std::size_t at = 0; at < paragraph.size(); at += characterLength(paragraph, at)) starts.push_back(at);
    const std::size_t count = starts.size();
    starts.push_back(paragraph.size());
    auto isSpace = [&](std::size_t i) { return paragraph[starts[i]] == ' '; };

    std::size_t start = 0;
    do {
        // As many characters as fit: the width of a prefix grows with its
        // length, so the largest that fits is found by halving.
        std::size_t low = start, high = count;
        while (low < high) {
            std::size_t mid = (low + high + 1) / 2;
            int32_t used = measure(paragraph.data() + starts[start], static_cast<int32_t>(starts[mid] - starts[start]));
            if (used <= width) low = mid;
            else high = mid - 1;
        }
        const std::size_t fit = low;
        std::size_t end = fit;
        if (fit < count) {
            // Back to the last opportunity at or before the first character that does not fit.
            std::size_t at = fit;
            while (at > start && !mayBreakBetween(codeAt(paragraph, starts[at - 1]), codeAt(paragraph, starts[at])))
                --at;
            end = at > start ? at : std::max(fit, start + 1);  // a word wider than the box is cut
        }
        std::size_t last = end;
        while (last > start && isSpace(last - 1)) --last;
        lines.push_back({offset + starts[start], starts[last] - starts[start]});
        start = end;
        while (start < count && isSpace(start)) ++start;
    } while (start < count);
}

}  // namespace

std::size_t characterLength(std::string_view text, std::size_t at) {
    return isShiftJisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

uint16_t firstCharacterCode(std::string_view text) {
    if (text.empty()) return 0;
    auto byte = [&](std::size_t i) { return static_cast<uint16_t>(static_cast<unsigned char>(text[i])); };
    return characterLength(text, 0) == 2 ? static_cast<uint16_t>(byte(0) << 8 | byte(1)) : byte(0);
}

bool isLineStartProhibited(uint16_t code) { return listed(kNoLineStart, code); }

bool isLineEndProhibited(uint16_t code) { return listed(kNoLineEnd, code); }

bool isHangingMark(uint16_t code) { return listed(kHangingMarks, code); }

std::vector<WrappedLine> wrapLines(std::string_view text, int32_t width, const MeasureText& measure) {
    std::vector<WrappedLine> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t newline = text.find('\n', start);
        std::string_view paragraph = text.substr(start, newline == std::string_view::npos ? newline : newline - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        if (paragraph.empty()) lines.push_back({start, 0});
        else wrapParagraph(paragraph, start, width, measure, lines);
        if (newline == std::string_view::npos) return lines;
        start = newline + 1;
    }
}
