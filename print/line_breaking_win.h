#pragma once

#include <windows.h>

#include <cstdint>

#include "print/line_breaking.h"

// Line breaking on a printer DC, measured with the DC's selected font.

// The character count of the line at the start of text in the width of `line`;
// its byte count goes to *byteCount.
int32_t measurePrintLine(HDC dc, const char* text, const RECT& line, int32_t* byteCount);

// draw 1: draws the lines of text in rect's column from rect.top and returns 0.
// draw 0: draws nothing and returns the y below the last line.
int32_t printTextBlock(HDC dc, const char* text, const RECT& rect, int32_t lineGap, int32_t lineHeight, int32_t draw);
