#pragma once

#include <windows.h>

#include "base/win32_owners.h"

// The few text and fill calls every layer draws with.

// Draws a NUL-terminated text at (x, y) in the DC's current colours.
inline void textOut(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, lstrlenA(text)); }

// Fills a rectangle with a solid colour through a brush made for the fill.
inline void fillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    OwnedBrush brush{CreateSolidBrush(colour)};
    FillRect(dc, &rect, brush.get());
}

// A text word-wrapped by the system into rect (clipped to it), and the height
// that the same wrapping takes; only rect's width matters for the height.
inline void drawWrapped(HDC dc, const char* text, RECT rect) { DrawTextA(dc, text, -1, &rect, DT_WORDBREAK); }
inline int measureWrapped(HDC dc, const char* text, RECT rect) {
    return DrawTextA(dc, text, -1, &rect, DT_CALCRECT | DT_WORDBREAK);
}

// The serif Shift-JIS font of the entry names on screen and of everything on
// paper, `height` pixels high (IPAMincho under the project's Wine setup).
inline OwnedFont newRomanFont(int height) {
    return OwnedFont{CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, nullptr)};
}
