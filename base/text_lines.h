#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// How Shift-JIS texts break into lines, on screen and on paper. Portable: the
// viewer draws and measures with it through GDI, the printout through the
// printer's DC, and the content tool checks entries with it on the host.

// Width in pixels (or device units) of the first `length` bytes of `text`.
using MeasureText = std::function<int32_t(const char* text, int32_t length)>;

// Bytes of the character that starts at text[at]: 2 for a lead byte with a
// byte after it, else 1 (a lead byte at the very end counts on its own).
std::size_t characterLength(std::string_view text, std::size_t at);

// The character at the start of text as one code: lead << 8 | trail for a
// two-byte character, else the byte; 0 for an empty text.
uint16_t firstCharacterCode(std::string_view text);

// The usual rules of Japanese typesetting, one table for screen and paper:
// closing brackets and quotes, 、。，．・：；？！, the long-vowel mark, iteration
// marks, small kana and units written after a figure never begin a line;
// opening brackets and quotes and currency signs never end one.
bool isLineStartProhibited(uint16_t code);
bool isLineEndProhibited(uint16_t code);

// 、 。 , . : on paper these may hang past the right edge at the end of a full
// line; on screen they are carried like the rest, so the line ends earlier.
bool isHangingMark(uint16_t code);

// One screen line: the bytes drawn, as an offset into the text and a length.
struct WrappedLine {
    std::size_t begin = 0;
    std::size_t length = 0;
};

// The lines of a word-wrapped text in a box `width` wide, as the viewer draws
// them: a newline ends a line (an empty paragraph is an empty line); a line
// ends at its last break opportunity that fits; Japanese breaks between any
// two characters that the table above allows; words of Latin letters, digits
// and Greek letters break only at spaces, which end a line and are dropped;
// a word wider than the box is cut where it stops fitting. An empty text has
// no lines.
std::vector<WrappedLine> wrapLines(std::string_view text, int32_t width, const MeasureText& measure);
