#pragma once

// How Shift-JIS texts fit on the viewer's screen: their widths in the two fonts
// the viewer draws with, and the lines the viewer makes of a word-wrapped text.
// Portable (no windows.h): the content tool checks entries with it on the host,
// and a Windows test checks it against GDI under Wine.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Advance widths of the memory DC's default font (SYSTEM_FONT, IPAGothic):
// a single-byte character is 8 pixels wide, a double-byte one 16.
constexpr int32_t kSystemFontHalfWidth = 8;
// The 40-pixel FF_ROMAN name font (IPAMincho; 40 is the cell height, the em is
// 36): 18 and 36 pixels.
constexpr int32_t kNameFontHalfWidth = 18;

// Both fonts are monospaced in Shift-JIS terms and GDI applies no kerning, so a
// text's width is its byte count times the half width.
int32_t systemFontWidth(std::string_view sjis);
int32_t nameFontWidth(std::string_view sjis);

// The lines the viewer draws of `sjis` in a box `width` pixels wide in the
// system font: its own line breaking (base/text_lines.h) with these widths.
std::vector<std::string> wrapSystemFontLines(std::string_view sjis, int32_t width);

// Whether a line that ends with the character `before` and is followed by a
// line starting with `after` splits a word of a name field. The words of
// "name（reading）・name（reading）" are the names and the readings: a break
// after ）, ・, 、 or a space, or before （, falls between words; any other
// break cuts a name or a reading in two.
bool breakSplitsWord(std::string_view before, std::string_view after);
