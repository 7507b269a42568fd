#pragma once

#include <windows.h>

#include "base/text_lines.h"
#include "base/win32_owners.h"

// The few text and fill calls every layer draws with.

// Draws a NUL-terminated text at (x, y) in the DC's current colours.
inline void textOut(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, lstrlenA(text)); }

// Fills a rectangle with a solid colour through a brush made for the fill.
inline void fillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    OwnedBrush brush{CreateSolidBrush(colour)};
    FillRect(dc, &rect, brush.get());
}

// The widths of prefixes of a text in the DC's selected font, for the line
// breaking of base/text_lines.h.
MeasureText extentMeasure(HDC dc);

// A text word-wrapped into rect by the viewer's own line breaking, one line of
// the font's height under the other, clipped to rect; and the height the same
// lines take (only rect's width matters for it). A null text is empty.
void drawWrapped(HDC dc, const char* text, const RECT& rect);
int measureWrapped(HDC dc, const char* text, const RECT& rect);

// The serif Shift-JIS font of the entry names on screen and of everything on
// paper, `height` pixels high (IPAMincho under the project's Wine setup).
inline OwnedFont newRomanFont(int height) {
    return OwnedFont{CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, nullptr)};
}
