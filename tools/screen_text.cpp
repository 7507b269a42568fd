#include "tools/screen_text.h"

#include <algorithm>

#include "base/shift_jis.h"

namespace {

// Shift-JIS codes as one number: a single byte as itself, a double-byte
// character as lead * 256 + trail.
uint32_t charCode(std::string_view c) {
    if (c.empty()) return 0;
    uint32_t code = static_cast<unsigned char>(c[0]);
    if (c.size() > 1) code = code << 8 | static_cast<unsigned char>(c[1]);
    return code;
}

// Characters no line may start with: closing brackets, 、。，．, the middle dot,
// ： ； ？ ！, the long vowel mark, iteration marks, small kana, the ideographic
// space, … ‥ and the units written after a figure.
constexpr uint32_t kNoBreakBefore[] = {
    0x8140, 0x8141, 0x8142, 0x8143, 0x8144, 0x8145, 0x8146, 0x8147, 0x8148, 0x8149,  // 　、。，．・：；？！
    0x8152, 0x8153, 0x8154, 0x8155, 0x8158, 0x815B, 0x815D,                          // ヽヾゝゞ々ー‐
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

// Characters no line may end with: opening brackets and quotes, and the
// currency signs written before a figure.
constexpr uint32_t kNoBreakAfter[] = {
    0x8165, 0x8167, 0x8169, 0x816B, 0x816D, 0x816F, 0x8171, 0x8173, 0x8175, 0x8177, 0x8179,  // ‘“（〔［｛〈《「『【
    0x818F, 0x8190, 0xA2,   '(',    '[',    '{',    '$',                                     // ￥＄｢
};

template <std::size_t N>
bool listed(const uint32_t (&codes)[N], uint32_t code) {
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

bool isAsciiWordChar(uint32_t code) { return code > 0x20 && code < 0x7F; }

// Whether DrawTextA may end a line between these two characters.
bool mayBreakBetween(uint32_t before, uint32_t after) {
    if (after == ' ') return false;  // spaces stay with the line they follow
    if (before == ' ') return true;
    if (listed(kNoBreakBefore, after) || listed(kNoBreakAfter, before)) return false;
    return !(isAsciiWordChar(before) && isAsciiWordChar(after));
}

std::vector<std::string_view> splitChars(std::string_view text) {
    std::vector<std::string_view> chars;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t n = sjisCharLength(text, at);
        chars.push_back(text.substr(at, n));
        at += n;
    }
    return chars;
}

std::string join(const std::vector<std::string_view>& chars, std::size_t from, std::size_t to) {
    std::string s;
    for (std::size_t i = from; i < to; ++i) s += chars[i];
    return s;
}

// One paragraph (no line feed) into lines.
void wrapParagraph(const std::vector<std::string_view>& chars, int32_t width, std::vector<std::string>& lines) {
    std::size_t start = 0;
    do {
        // As many characters as fit, as GetTextExtentExPoint counts them.
        std::size_t fit = start;
        int32_t used = 0;
        while (fit < chars.size() && used + systemFontWidth(chars[fit]) <= width) used += systemFontWidth(chars[fit++]);
        std::size_t end = fit;
        if (fit < chars.size()) {
            // Back to the last opportunity at or before the first character that does not fit.
            std::size_t at = fit;
            while (at > start && !mayBreakBetween(charCode(chars[at - 1]), charCode(chars[at]))) --at;
            if (at > start) end = at;
            else end = std::max(fit, start + 1);  // one word wider than the box: cut where it stops fitting
        }
        std::size_t last = end;
        while (last > start && chars[last - 1] == " ") --last;
        lines.push_back(join(chars, start, last));
        start = end;
        while (start < chars.size() && chars[start] == " ") ++start;
    } while (start < chars.size());
}

}  // namespace

std::size_t sjisCharLength(std::string_view text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    bool doubleByte = isShiftJisLeadByte(lead);
    return doubleByte && at + 1 < text.size() ? 2 : 1;
}

int32_t systemFontWidth(std::string_view sjis) { return static_cast<int32_t>(sjis.size()) * kSystemFontHalfWidth; }

int32_t nameFontWidth(std::string_view sjis) { return static_cast<int32_t>(sjis.size()) * kNameFontHalfWidth; }

std::vector<std::string> wrapSystemFontLines(std::string_view sjis, int32_t width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t nl = sjis.find('\n', start);
        std::string_view paragraph = sjis.substr(start,
                                                 nl == std::string_view::npos ? std::string_view::npos : nl - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        if (paragraph.empty()) lines.emplace_back();
        else wrapParagraph(splitChars(paragraph), width, lines);
        if (nl == std::string_view::npos) return lines;
        start = nl + 1;
    }
}

bool breakSplitsWord(std::string_view before, std::string_view after) {
    constexpr uint32_t kEndsWord[] = {0x816A, 0x8145, 0x8141, 0x8142, 0x8143, ' ', ')', ','};  // ）・、。，
    constexpr uint32_t kStartsWord[] = {0x8169, ' ', '('};                                     // （
    return !listed(kEndsWord, charCode(before)) && !listed(kStartsWord, charCode(after));
}
