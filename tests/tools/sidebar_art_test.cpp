// Checks the sidebar art that make_sidebar_art wrote into the stage folder
// (the working directory of this test) against what the viewer expects of it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "data/sidebar_bitmap.h"
#include "render/frame.h"
#include "render/index_lists.h"

namespace {

constexpr int kBitmapCount = kSidebarBitmapCount;

std::vector<std::string> listedPaths() {
    std::ifstream in(kImageListFileName, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> paths;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        paths.push_back(text.substr(start, end - start));
    return paths;
}

COLORREF pixel(const SidebarBitmap& bitmap, int x, int y) {
    int stride = (bitmap.infoHeader.biWidth * 3 + 3) / 4 * 4;
    auto* p = static_cast<const unsigned char*>(bitmap.bits) + (bitmap.infoHeader.biHeight - 1 - y) * stride + x * 3;
    return RGB(p[2], p[1], p[0]);
}

class SidebarArtTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths = listedPaths();
        ASSERT_GE(paths.size(), kBitmapCount + 1u);
        for (int i = 0; i < kBitmapCount; ++i) {
            bitmaps.emplace_back(std::make_unique<SidebarBitmap>());
            ASSERT_TRUE(loadBitmapFile(bitmaps.back().get(), nullptr, paths[i].c_str())) << paths[i];
        }
    }
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<SidebarBitmap>> bitmaps;
};

TEST_F(SidebarArtTest, ListEndsWithEofAndHasNoCarriageReturns) {
    EXPECT_EQ(paths.back(), "EOF");
    EXPECT_EQ(paths.size(), kBitmapCount + 1u);
    for (const std::string& path : paths) EXPECT_EQ(path.find('\r'), std::string::npos) << path;
}

TEST_F(SidebarArtTest, BitmapsArePlainBmpsOfTheSizesTheirPositionsNeed) {
    for (int i = 0; i < kBitmapCount; ++i) {
        const SidebarBitmap& b = *bitmaps[i];
        bool strip = i < 8, spare = i >= 8 && i < 11;
        EXPECT_EQ(b.infoHeader.biWidth, strip ? 10 : spare ? 10 : kSidebarWidth) << paths[i];
        EXPECT_EQ(b.infoHeader.biHeight, strip ? 600 : spare ? 10 : kSidebarSlotHeight) << paths[i];
        EXPECT_EQ(b.infoHeader.biSize, 40u);
        EXPECT_EQ(b.fileHeader.bfOffBits, 54u);
        int stride = (b.infoHeader.biWidth * 3 + 3) / 4 * 4;
        EXPECT_EQ(b.fileHeader.bfSize, 54u + stride * b.infoHeader.biHeight) << paths[i];
    }
}

TEST_F(SidebarArtTest, StripsTakeTheColoursOfTheIndexList) {
    // The label backgrounds of the index lists: the uncategorised grey for all
    // entries, then categories 1-7.
    const COLORREF listed[] = {0xC8C8C8, 0x41CFD7, 0x4BDC6E, 0xD2C882, 0x6C67FF, 0x788CBE, 0xE596C4, 0xCD9C9C};
    for (int c = 0; c <= kCategoryCount; ++c) EXPECT_EQ(pixel(*bitmaps[c], 0, 300), listed[c]) << "strip " << c;
}

// A tab seven steps from the current one shows only its left 145 columns, so
// nothing but the plain fill may lie right of them.
TEST_F(SidebarArtTest, LabelsStayWithinTheNarrowestTab) {
    for (int base : {11, 22})
        for (int slot = 0; slot < kCategorySlotCount; ++slot)
            for (int y = 0; y < kSidebarSlotHeight; ++y)
                for (int x = kNarrowestTab; x < kSidebarWidth; ++x)
                    ASSERT_EQ(pixel(*bitmaps[base + slot], x, y), pixel(*bitmaps[base + slot], kSidebarWidth - 1, y))
                        << paths[base + slot] << " at " << x << "," << y;
}

}  // namespace
