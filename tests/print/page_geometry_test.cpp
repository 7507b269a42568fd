#include "print/page_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct GeometryCase {
    const char* name;
    int32_t width;
    int32_t height;
    PageGeometry expected;
};
// Test output names the case, not its bytes.
void PrintTo(const GeometryCase& c, std::ostream* out) { *out << c.name; }

// Expected values worked out by hand from the grid: units truncate first and
// everything else builds on the truncated units.
constexpr GeometryCase kGeometryCases[] = {
    // A4 at 300 dpi, as the project's PostScript printer reports it.
    {"a4At300Dpi", 2479, 3508, {2479, 3508, 11, 11, 44, 22, 165, 2314, 220, 3288}},
    // 3000 is not a multiple of 297: unitY 10 (not 10.1), so lineGap is 20.
    {"heightNotMultipleOf297", 2000, 3000, {2000, 3000, 9, 10, 37, 20, 135, 1865, 200, 2800}},
    // Exactly on the grid.
    {"exactGrid", 2100, 2970, {2100, 2970, 10, 10, 36, 20, 150, 1950, 200, 2770}},
    // Smaller than one division: every unit is 0, no division by a device value.
    {"belowOneDivision", 100, 200, {100, 200, 0, 0, 3, 0, 0, 100, 0, 200}},
    {"zeroDevice", 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

class GeometryTable : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(GeometryTable, givesTheTenFields) {
    const GeometryCase& c = GetParam();
    PageGeometry g = pageGeometryFor(c.width, c.height);
    EXPECT_EQ(g.pageWidth, c.expected.pageWidth);
    EXPECT_EQ(g.pageHeight, c.expected.pageHeight);
    EXPECT_EQ(g.unitX, c.expected.unitX);
    EXPECT_EQ(g.unitY, c.expected.unitY);
    EXPECT_EQ(g.lineHeight, c.expected.lineHeight);
    EXPECT_EQ(g.lineGap, c.expected.lineGap);
    EXPECT_EQ(g.marginLeft, c.expected.marginLeft);
    EXPECT_EQ(g.marginRight, c.expected.marginRight);
    EXPECT_EQ(g.marginTop, c.expected.marginTop);
    EXPECT_EQ(g.marginBottom, c.expected.marginBottom);
}

INSTANTIATE_TEST_SUITE_P(Pages, GeometryTable, ::testing::ValuesIn(kGeometryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageGeometry, sixtyLinesAndTheirGapsNeverExceedThePage) {
    for (int32_t height = 0; height <= 20000; height += 7) {
        PageGeometry g = pageGeometryFor(2479, height);
        EXPECT_LE(kLinesPerPage * g.lineHeight + kGapsPerPage * g.lineGap, height) << "height " << height;
        EXPECT_GE(g.lineHeight, 0) << "height " << height;
        EXPECT_LE(g.marginTop, g.marginBottom) << "height " << height;
    }
}

TEST(PageGeometry, truncatedUnitsMakeTheMarginsSmallerThanExactFractions) {
    PageGeometry g = pageGeometryFor(2479, 3508);
    EXPECT_LT(g.marginTop, 3508.0 * 20 / 297);
    EXPECT_LT(g.marginLeft, 2479.0 * 15 / 210);
    EXPECT_GT(g.marginBottom, 3508.0 - 3508.0 * 20 / 297);
}

}  // namespace
