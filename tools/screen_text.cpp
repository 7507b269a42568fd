#include "tools/screen_text.h"

#include <algorithm>

#include "base/text_lines.h"

int32_t systemFontWidth(std::string_view sjis) { return static_cast<int32_t>(sjis.size()) * kSystemFontHalfWidth; }

int32_t nameFontWidth(std::string_view sjis) { return static_cast<int32_t>(sjis.size()) * kNameFontHalfWidth; }

std::vector<std::string> wrapSystemFontLines(std::string_view sjis, int32_t width) {
    const MeasureText systemFont = [](const char*, int32_t length) { return length * kSystemFontHalfWidth; };
    std::vector<std::string> lines;
    for (const WrappedLine& line : wrapLines(sjis, width, systemFont))
        lines.emplace_back(sjis.substr(line.begin, line.length));
    return lines;
}

bool breakSplitsWord(std::string_view before, std::string_view after) {
    constexpr uint16_t kEndsWord[] = {0x816A, 0x8145, 0x8141, 0x8142, 0x8143, ' ', ')', ','};  // ）・、。，
    constexpr uint16_t kStartsWord[] = {0x8169, ' ', '('};                                     // （
    auto listed = [](const auto& codes, uint16_t code) {
        return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
    };
    return !listed(kEndsWord, firstCharacterCode(before)) && !listed(kStartsWord, firstCharacterCode(after));
}
