#include "print/page_geometry.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::array<int32_t, 10> fieldsOf(const PageGeometry& g) {
    return {g.pageWidth, g.pageHeight, g.unitX,       g.unitY,     g.lineHeight,
            g.lineGap,   g.marginLeft, g.marginRight, g.marginTop, g.marginBottom};
}

// Expected values worked out by hand from the 210 by 297 grid: units truncate
// first and everything else builds on the truncated units.
TEST(PageGeometry, givesTheGridOfAPrintableArea) {
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        PageGeometry expected;
    };
    const Case cases[] = {
        // A4 at 300 dpi, as the project's PostScript printer reports it.
        {"a4At300Dpi", 2479, 3508, {2479, 3508, 11, 11, 44, 22, 165, 2314, 220, 3288}},
        // 3000 is not a multiple of 297: unitY 10 (not 10.1), so lineGap is 20.
        {"heightNotMultipleOf297", 2000, 3000, {2000, 3000, 9, 10, 37, 20, 135, 1865, 200, 2800}},
        {"exactGrid", 2100, 2970, {2100, 2970, 10, 10, 36, 20, 150, 1950, 200, 2770}},
        // Smaller than one division: every unit is 0, no division by a device value.
        {"belowOneDivision", 100, 200, {100, 200, 0, 0, 3, 0, 0, 100, 0, 200}},
        {"zeroDevice", 0, 0, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(fieldsOf(pageGeometryFor(c.width, c.height)), fieldsOf(c.expected)) << c.name;
}

}  // namespace
