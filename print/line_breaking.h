#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "base/shift_jis.h"

// Printed texts are broken character by character against the measured width
// of the text column, so every line has the same pitch and a text's height is
// known before anything is drawn. Texts are Shift-JIS byte strings.

// Width in device pixels of the first `length` bytes of `text`.
using MeasureText = std::function<int32_t(const char* text, int32_t length)>;

struct PrintLine {
    int32_t charCount = 0;  // characters on the line, an ending newline included
    int32_t byteCount = 0;  // bytes of the line, an ending newline included
};

struct LineBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Receives one line (its bytes, an ending newline included) and its box.
using DrawLine = std::function<void(std::string_view line, const LineBox& box)>;

// The character at the start of text as one code: lead << 8 | trail for a
// two-byte character, else the byte; 0 for an empty text.
uint16_t firstCharacterCode(std::string_view text);

// Characters that must not begin a line: closing brackets and quotes, small
// kana, the long-vowel mark, middle dot, ！ ？ ： ；, iteration marks and the
// commas and full stops (the usual line-start-prohibited set).
bool isLineStartProhibited(uint16_t code);

// 、 。 , . : at the end of a full line these stay on it, past the right edge.
bool isHangingMark(uint16_t code);

// The line that starts at the beginning of text in a column `width` pixels wide.
// Both counts are 0 for an empty text and when not even the first character fits.
// A full line keeps a 、 。 , . that did not fit (it hangs past the width); before
// any other character that must not begin a line it ends earlier, so the next
// line begins with the character in front of it.
PrintLine breakPrintLine(std::string_view text, int32_t width, const MeasureText& measure);

// Breaks the whole text into lines of `area`'s width starting at area.top, one
// pitch (lineHeight + lineGap) apart; hands each line to drawLine when it is
// given. Returns the y below the last line (area.top when there is none).
int32_t layoutTextBlock(std::string_view text, const LineBox& area, int32_t lineGap, int32_t lineHeight,
                        const MeasureText& measure, const DrawLine* drawLine);
