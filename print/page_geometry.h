#pragma once

#include <cstdint>

// Printer measures in device pixels on a 210 by 297 grid (an A4 sheet in
// millimetres), derived from the printable area of the job's device context.
struct PageGeometry {
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    int32_t unitX = 0;
    int32_t unitY = 0;
    int32_t lineHeight = 0;
    int32_t lineGap = 0;
    int32_t marginLeft = 0;
    int32_t marginRight = 0;
    int32_t marginTop = 0;
    int32_t marginBottom = 0;
};

constexpr int32_t kGridColumns = 210;
constexpr int32_t kGridRows = 297;
// The margins, in grid units: left and right, top and bottom.
constexpr int32_t kSideMarginUnits = 15;
constexpr int32_t kEndMarginUnits = 20;
// 60 lines and 39 gaps fill at most one printable height.
constexpr int32_t kLinesPerPage = 60;
constexpr int32_t kGapsPerPage = 39;

// The whole layout grid for a printable area; any size, 0 included.
PageGeometry pageGeometryFor(int32_t pageWidth, int32_t pageHeight);
