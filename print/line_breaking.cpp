#include "print/line_breaking.h"

namespace {

constexpr char kNewline = '\n';
// The line box stops short of the next line so that a glyph's descent cannot
// spill into the gap below.
constexpr int32_t kLineBoxShortfall = 10;

}  // namespace

PrintLine breakPrintLine(std::string_view text, int32_t width, const MeasureText& measure) {
    const std::size_t n = text.size();
    std::size_t pos = 0;
    int32_t chars = 0;
    while (pos < n) {
        // A newline ends the line whatever width it would take.
        if (text[pos] == kNewline) return {chars + 1, static_cast<int32_t>(pos + 1)};
        // A lead byte right before the end counts as a character of its own, so
        // a line never reaches past the text.
        std::size_t length = isShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < n ? 2 : 1;
        std::size_t end = pos + length;
        ++chars;
        // The whole prefix is measured: kerning and rounding make the sum of
        // single-character widths differ from the width of the line.
        if (measure(text.data(), static_cast<int32_t>(end)) > width) return {chars - 1, static_cast<int32_t>(pos)};
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

#ifdef _WIN32
namespace {

MeasureText extentMeasure(HDC dc) {
    return [dc](const char* text, int32_t length) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text, length, &size);
        return static_cast<int32_t>(size.cx);
    };
}

}  // namespace

int32_t measurePrintLine(HDC dc, const char* text, const RECT& line, int32_t* byteCount) {
    PrintLine result = breakPrintLine(text ? std::string_view(text) : std::string_view(), line.right - line.left,
                                      extentMeasure(dc));
    if (byteCount) *byteCount = result.byteCount;
    return result.charCount;
}

int32_t printTextBlock(HDC dc, const char* text, const RECT& rect, int32_t lineGap, int32_t lineHeight,
                       int32_t draw) {
    // The text is walked in place through a view: any length is fine, and the
    // caller's text is never written.
    std::string_view view = text ? std::string_view(text) : std::string_view();
    LineBox area{rect.left, rect.top, rect.right, rect.bottom};
    DrawLine drawLine = [dc](std::string_view line, const LineBox& box) {
        // The line's ending newline belongs to its byte count but is not drawn:
        // with DT_SINGLELINE the printer font shows it as a missing-glyph box.
        if (!line.empty() && line.back() == kNewline) line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        RECT r{box.left, box.top, box.right, box.bottom};
        DrawTextA(dc, line.data(), static_cast<int>(line.size()), &r, DT_SINGLELINE);
    };
    int32_t bottom = layoutTextBlock(view, area, lineGap, lineHeight, extentMeasure(dc), draw ? &drawLine : nullptr);
    return draw ? 0 : bottom;
}
#endif
