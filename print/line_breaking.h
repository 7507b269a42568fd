#pragma once

#include <cstdint>
#include <string_view>

#include "base/text_lines.h"

// Printed texts are broken character by character against the measured width
// of the text column, so every line has the same pitch and a text's height is
// known before anything is drawn. Texts are Shift-JIS byte strings.

struct PrintLine {
    int32_t charCount = 0;  // characters on the line, an ending newline included
    int32_t byteCount = 0;  // bytes of the line, an ending newline included
    bool carried = false;   // ended early so that the next line does not begin badly
};

struct LineBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Receives one line (its bytes, an ending newline included), its box, and
// whether it was carried: such a line ends short of the box and is spread to
// its full width (両端揃え); every other line is set as it is.
using DrawLine = std::function<void(std::string_view line, const LineBox& box, bool justify)>;

// The line that starts at the beginning of text in a column `width` pixels wide.
// Both counts are 0 for an empty text and when not even the first character fits.
// A full line keeps a 、 。 , . that did not fit (it hangs past the width); before
// any other character that must not begin a line, or after one that must not
// end it, it ends earlier, so the next line begins with the character in front.
PrintLine breakPrintLine(std::string_view text, int32_t width, const MeasureText& measure);

// Breaks the whole text into lines of `area`'s width starting at area.top, one
// pitch (lineHeight + lineGap) apart; hands each line to drawLine when it is
// given. Returns the y below the last line (area.top when there is none).
int32_t layoutTextBlock(std::string_view text, const LineBox& area, int32_t lineGap, int32_t lineHeight,
                        const MeasureText& measure, const DrawLine* drawLine);
