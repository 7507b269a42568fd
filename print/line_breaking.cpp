#include "print/line_breaking.h"

namespace {

constexpr char kNewline = '\n';
// The line box handed to the drawing stops ten pixels short of the line height
// (the drawing call does not clip to it).
constexpr int32_t kLineBoxShortfall = 10;

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
    // Any other character that must not begin a line, or one in front of it
    // that must not end one, takes the characters in front of it along until
    // the line may break there. When that would empty this line (a line of
    // nothing but such characters) the width break stands.
    // Character boundaries are found from the line start: a trail byte can
    // look like a lead byte.
    auto previousOf = [&](std::size_t at) {
        std::size_t previous = 0;
        for (std::size_t p = 0; p < at; p += characterLength(text, p)) previous = p;
        return previous;
    };
    std::size_t start = breakPos;
    int32_t kept = fitting;
    while (isLineStartProhibited(firstCharacterCode(text.substr(start))) ||
           isLineEndProhibited(firstCharacterCode(text.substr(previousOf(start))))) {
        if (kept == 1) return {fitting, static_cast<int32_t>(breakPos)};
        start = previousOf(start);
        --kept;
    }
    return {kept, static_cast<int32_t>(start), kept < fitting};
}

}  // namespace

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
        if (drawLine) (*drawLine)(text.substr(0, static_cast<std::size_t>(line.byteCount)), box, line.carried);
        box.top += lineHeight + lineGap;
        box.bottom = box.top + lineHeight - kLineBoxShortfall;
        text.remove_prefix(static_cast<std::size_t>(line.byteCount));
        line = breakPrintLine(text, width, measure);
    }
    return box.top;
}
