#include "print/page_geometry.h"

PageGeometry pageGeometryFor(int32_t pageWidth, int32_t pageHeight) {
    // Every value derives from the already truncated units, so the margins and
    // gaps of a printer whose height is no multiple of 297 are slightly smaller
    // than the exact fractions. Only constants are divisors: a device that
    // reports 0 gives an all-zero grid, not a fault.
    PageGeometry g;
    g.pageWidth = pageWidth;
    g.pageHeight = pageHeight;
    g.unitX = pageWidth / kGridColumns;
    g.unitY = pageHeight / kGridRows;
    g.lineGap = 2 * g.unitY;
    g.lineHeight = (pageHeight - kGapsPerPage * g.lineGap) / kLinesPerPage;
    g.marginLeft = kSideMarginUnits * g.unitX;
    g.marginRight = pageWidth - kSideMarginUnits * g.unitX;
    g.marginTop = kEndMarginUnits * g.unitY;
    g.marginBottom = pageHeight - kEndMarginUnits * g.unitY;
    return g;
}
