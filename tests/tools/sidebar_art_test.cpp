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

COLORREF pixel(const SidebarBitmap& bitmap, int x, int y) {
    int stride = (bitmap.infoHeader.biWidth * 3 + 3) / 4 * 4;
    auto* p = static_cast<const unsigned char*>(bitmap.bits) + (bitmap.infoHeader.biHeight - 1 - y) * stride + x * 3;
    return RGB(p[2], p[1], p[0]);
}

// The list names every bitmap, one a line with no carriage return, then EOF;
// every bitmap is a plain 24-bit BMP of the size its position needs.
class SidebarArtTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(kImageListFileName, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            paths.push_back(text.substr(start, end - start));
        ASSERT_EQ(paths.size(), kSidebarBitmapCount + 1u);
        EXPECT_EQ(paths.back(), "EOF");
        for (int i = 0; i < kSidebarBitmapCount; ++i) {
            EXPECT_EQ(paths[i].find('\r'), std::string::npos) << paths[i];
            bitmaps.emplace_back(std::make_unique<SidebarBitmap>());
            const SidebarBitmap& b = *bitmaps.back();
            ASSERT_TRUE(loadBitmapFile(bitmaps.back().get(), nullptr, paths[i].c_str())) << paths[i];
            bool strip = i < kSpareBitmaps, spare = i >= kSpareBitmaps && i < kCurrentButtonBitmaps;
            EXPECT_EQ(b.infoHeader.biWidth, strip || spare ? 10 : kSidebarWidth) << paths[i];
            EXPECT_EQ(b.infoHeader.biHeight, strip ? 600 : spare ? 10 : kSidebarSlotHeight) << paths[i];
            EXPECT_EQ(b.infoHeader.biSize, 40u);
            EXPECT_EQ(b.fileHeader.bfOffBits, 54u);
            int stride = (b.infoHeader.biWidth * 3 + 3) / 4 * 4;
            EXPECT_EQ(b.fileHeader.bfSize, 54u + stride * b.infoHeader.biHeight) << paths[i];
        }
    }
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<SidebarBitmap>> bitmaps;
};

TEST_F(SidebarArtTest, StripsTakeTheColoursOfTheIndexList) {
    // The label backgrounds of the index lists: the uncategorised grey for all
    // entries, then categories 1-7.
    const COLORREF listed[] = {0xC8C8C8, 0x41CFD7, 0x4BDC6E, 0xD2C882, 0x6C67FF, 0x788CBE, 0xE596C4, 0xCD9C9C};
    for (int c = 0; c <= kCategoryCount; ++c) EXPECT_EQ(pixel(*bitmaps[c], 0, 300), listed[c]) << "strip " << c;
}

// A tab seven steps from the current one shows only its left 145 columns, so
// nothing but the plain fill may lie right of them.
TEST_F(SidebarArtTest, LabelsStayWithinTheNarrowestTab) {
    for (int base : {kCurrentButtonBitmaps, kOtherButtonBitmaps})
        for (int slot = 0; slot < kCategorySlotCount; ++slot)
            for (int y = 0; y < kSidebarSlotHeight; ++y)
                for (int x = kNarrowestTab; x < kSidebarWidth; ++x)
                    ASSERT_EQ(pixel(*bitmaps[base + slot], x, y), pixel(*bitmaps[base + slot], kSidebarWidth - 1, y))
                        << paths[base + slot] << " at " << x << "," << y;
}

}  // namespace
