#include "base/text_drawing.h"

#include <string_view>

namespace {

int lineHeight(HDC dc) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight;
}

std::vector<WrappedLine> linesOf(HDC dc, const char* text, const RECT& rect) {
    return wrapLines(text ? std::string_view(text) : std::string_view(), rect.right - rect.left, extentMeasure(dc));
}

}  // namespace

MeasureText extentMeasure(HDC dc) {
    return [dc](const char* text, int32_t length) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text, length, &size);
        return static_cast<int32_t>(size.cx);
    };
}

void drawWrapped(HDC dc, const char* text, const RECT& rect) {
    const int height = lineHeight(dc);
    int y = rect.top;
    for (const WrappedLine& line : linesOf(dc, text, rect)) {
        if (y >= rect.bottom) break;
        // Clipped to the whole box, in the DC's colours and background mode.
        if (line.length > 0)
            ExtTextOutA(dc, rect.left, y, ETO_CLIPPED, &rect, text + line.begin, static_cast<UINT>(line.length),
                        nullptr);
        y += height;
    }
}

int measureWrapped(HDC dc, const char* text, const RECT& rect) {
    return static_cast<int>(linesOf(dc, text, rect).size()) * lineHeight(dc);
}
