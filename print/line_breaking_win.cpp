#include "print/line_breaking_win.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/text_drawing.h"

namespace {

// A line that was ended early to keep its successor from beginning badly is
// spread to the full measure: the space it leaves is shared evenly between
// its characters, each drawn at its place (unclipped, like every printed line).
void drawJustified(HDC dc, std::string_view line, int32_t left, int32_t top, int32_t width) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < line.size(); at += characterLength(line, at)) starts.push_back(at);
    if (starts.empty()) return;
    const auto extent = [dc, line](std::size_t bytes) {
        SIZE size{};
        GetTextExtentPoint32A(dc, line.data(), static_cast<int>(bytes), &size);
        return static_cast<int32_t>(size.cx);
    };
    const int32_t gaps = static_cast<int32_t>(starts.size()) - 1;
    const int32_t spare = std::max(0, width - extent(line.size()));
    starts.push_back(line.size());
    for (int32_t i = 0; i <= gaps; ++i) {
        const std::size_t at = starts[static_cast<std::size_t>(i)];
        const int32_t x = left + extent(at) + (gaps > 0 ? spare * i / gaps : 0);
        TextOutA(dc, x, top, line.data() + at, static_cast<int>(starts[static_cast<std::size_t>(i) + 1] - at));
    }
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
    const int32_t width = rect.right - rect.left;
    DrawLine drawLine = [dc, width](std::string_view line, const LineBox& box, bool justify) {
        // The line's ending newline belongs to its byte count but is not drawn:
        // with DT_SINGLELINE the printer font shows it as a missing-glyph box.
        if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (justify) {
            drawJustified(dc, line, box.left, box.top, width);
            return;
        }
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
