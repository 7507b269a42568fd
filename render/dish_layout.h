#pragma once

#include <cstddef>
#include <cstdint>

// Line arithmetic of the dish page, apart from any window.

// Bytes per line of the ingredient table's name and amount columns.
constexpr int32_t kNameBytesPerLine = 19;
constexpr int32_t kAmountBytesPerLine = 12;
// A cooking step longer than this is taken to wrap onto a second line.
constexpr std::size_t kStepBytesPerLine = 67;

// Estimated lines of a text at bytesPerLine bytes a line: each newline-separated
// segment counts its length / bytesPerLine + 1; a final newline adds no line;
// an empty text counts 1.
int32_t estimateLineCount(const char* text, int32_t bytesPerLine);
