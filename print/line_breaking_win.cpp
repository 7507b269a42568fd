#include "print/line_breaking_win.h"

#include <string_view>

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

int32_t printTextBlock(HDC dc, const char* text, const RECT& rect, int32_t lineGap, int32_t lineHeight, int32_t draw) {
    // The text is walked in place through a view: any length is fine, and the
    // caller's text is never written.
    std::string_view view = text ? std::string_view(text) : std::string_view();
    LineBox area{rect.left, rect.top, rect.right, rect.bottom};
    DrawLine drawLine = [dc](std::string_view line, const LineBox& box) {
        // The line's ending newline belongs to its byte count but is not drawn:
        // with DT_SINGLELINE the printer font shows it as a missing-glyph box.
        if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Unclipped: the box ends ten pixels short of the line height, which on
        // a 300-dpi printer is about the baseline and would shave off the foot
        // of 」, descenders and the bottom strokes of 記 or を; a hanging 、 or 。
        // lies past its right edge. No prefix characters: an & is printed as
        // it was measured.
        RECT r{box.left, box.top, box.right, box.bottom};
        DrawTextA(dc, line.data(), static_cast<int>(line.size()), &r, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    };
    int32_t bottom = layoutTextBlock(view, area, lineGap, lineHeight, extentMeasure(dc), draw ? &drawLine : nullptr);
    return draw ? 0 : bottom;
}
