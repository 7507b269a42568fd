#include "data/sidebar_bitmap.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "data/record_list.h"
#include "tests/support/viewer_fixture.h"

namespace {

BITMAPFILEHEADER& fileHeaderOf(std::string& bmp) { return *reinterpret_cast<BITMAPFILEHEADER*>(bmp.data()); }
BITMAPINFOHEADER& infoHeaderOf(std::string& bmp) {
    return *reinterpret_cast<BITMAPINFOHEADER*>(bmp.data() + sizeof(BITMAPFILEHEADER));
}

COLORREF colourAt(const SidebarBitmap* bitmap, std::size_t offset) {
    const auto* p = static_cast<const unsigned char*>(bitmap->bits) + offset;
    return RGB(p[2], p[1], p[0]);
}

class SidebarBitmapTest : public ViewerTest {
protected:
    // Loads the list through window creation, as the viewer does.
    void load(const std::string& list) {
        destroyWindow();
        writeFile("imagelist.txt", list);
        ASSERT_NE(createWindow(), nullptr);
        ASSERT_NE(state.bitmaps, nullptr);
        ASSERT_NE(state.memDC.get(), nullptr) << "the back buffer is made whatever the list holds";
    }
    std::vector<LONG> loadedWidths() const {
        std::vector<LONG> widths;
        for (int32_t i = 0; i < count(state.bitmaps); ++i) widths.push_back(at(state.bitmaps, i)->infoHeader.biWidth);
        return widths;
    }
    // The files of one test tell themselves apart by a header field that
    // nothing else reads.
    std::vector<LONG> loadedMarks() const {
        std::vector<LONG> marks;
        for (int32_t i = 0; i < count(state.bitmaps); ++i)
            marks.push_back(at(state.bitmaps, i)->infoHeader.biXPelsPerMeter);
        return marks;
    }
};

TEST_F(SidebarBitmapTest, OnlyTheLastEofLineEndsTheList) {
    writeFile("a.bmp", solidBmp(10, 600, RGB(1, 2, 3)));
    writeFile("b.bmp", solidBmp(20, 50, RGB(4, 5, 6)));
    load("a.bmp\nEOF\nb.bmp\nEOF\n");
    ASSERT_EQ(count(state.bitmaps), 2);
    EXPECT_EQ(colourAt(at(state.bitmaps, 0), 0), RGB(1, 2, 3));
    EXPECT_EQ(colourAt(at(state.bitmaps, 1), 0), RGB(4, 5, 6));
    repaint();  // fewer than 30 bitmaps: the frame draws what there is
    EXPECT_EQ(pixel(185, 300), RGB(1, 2, 3)) << "the first bitmap is the strip of category 0";

    load("a.bmp\nb.bmp");  // no EOF line, and no line break after the last path
    EXPECT_EQ(loadedWidths(), (std::vector<LONG>{10, 20}));
    load("b.bmp\nmissing.bmp\n" + std::string(300, 'x') + "\na.bmp\r\nEOF");
    EXPECT_EQ(loadedWidths(), (std::vector<LONG>{20, 10})) << "a missing file and an over-long line add nothing";
    load("EOF");
    EXPECT_EQ(count(state.bitmaps), 0);
}

// Every file holds 12 x 4 pixels of 24 bits (36 bytes a row, no padding, so
// the section of such a header holds exactly the file's 144 pixel bytes),
// and is marked with its number.
// What can be loaded safely is loaded, whatever the file's own bookkeeping
// says; only what would hurt memory or what GDI cannot make a section of is
// refused, and every later bitmap then moves up one position.
TEST_F(SidebarBitmapTest, LoadsWhatCanBeLoadedSafely) {
    constexpr COLORREF kColour = RGB(0x30, 0x60, 0x90);
    constexpr std::size_t kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    constexpr std::size_t kSectionBytes = 36 * 4;
    struct Case {
        const char* what;
        bool loads;
        std::function<void(std::string&)> change;
        std::size_t bytesFromFile;  // pixel bytes read; the rest of the section stays zero
    } cases[] = {
        {"a plain file", true, [](std::string&) {}, kSectionBytes},
        {"truncated in its third row", true, [](std::string& b) { b.resize(kHeaders + 2 * 36 + 10); }, 82},
        {"only the headers", true, [](std::string& b) { b.resize(kHeaders); }, 0},
        {"bfSize counting padding after the pixels", true,
         [](std::string& b) {
             fileHeaderOf(b).bfSize += 4096;
             b.append(4096, '\x7F');
         },
         kSectionBytes},
        {"bfSize short of the pixels", true, [](std::string& b) { fileHeaderOf(b).bfSize -= 36; }, 108},
        {"bfSize 0", true, [](std::string& b) { fileHeaderOf(b).bfSize = 0; }, kSectionBytes},
        {"bfSize below the pixel offset", true, [](std::string& b) { fileHeaderOf(b).bfSize = 20; }, kSectionBytes},
        {"rows top-down", true, [](std::string& b) { infoHeaderOf(b).biHeight = -4; }, kSectionBytes},
        {"not BM", true, [](std::string& b) { b[0] = 'X', b[1] = 'Y'; }, kSectionBytes},
        {"a V5 header", true,
         [](std::string& b) {
             infoHeaderOf(b).biSize = sizeof(BITMAPV5HEADER);
             b.insert(kHeaders, sizeof(BITMAPV5HEADER) - sizeof(BITMAPINFOHEADER), '\0');
             fileHeaderOf(b).bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPV5HEADER);
             fileHeaderOf(b).bfSize = static_cast<DWORD>(b.size());
         },
         kSectionBytes},
        {"odd bookkeeping fields", true,
         [](std::string& b) {
             infoHeaderOf(b).biSizeImage = 7;
             infoHeaderOf(b).biYPelsPerMeter = -5;
             infoHeaderOf(b).biClrUsed = 3;
             infoHeaderOf(b).biClrImportant = 999;
         },
         kSectionBytes},
        {"a strip 20000 pixels long", true,
         [](std::string& b) {
             infoHeaderOf(b).biWidth = 20000;
             infoHeaderOf(b).biHeight = 1;
         },
         kSectionBytes},
        {"a pixel offset past the end of the file", true, [](std::string& b) { fileHeaderOf(b).bfOffBits = 1 << 20; },
         0},
        {"shorter than its headers", false, [](std::string& b) { b.resize(40); }, 0},
        {"8 bits a pixel", false, [](std::string& b) { infoHeaderOf(b).biBitCount = 8; }, 0},
        {"32 bits a pixel", false, [](std::string& b) { infoHeaderOf(b).biBitCount = 32; }, 0},
        {"a 12-byte core header", false, [](std::string& b) { infoHeaderOf(b).biSize = 12; }, 0},
        {"compressed", false, [](std::string& b) { infoHeaderOf(b).biCompression = BI_BITFIELDS; }, 0},
        {"no planes", false, [](std::string& b) { infoHeaderOf(b).biPlanes = 0; }, 0},
        {"an absurd width", false, [](std::string& b) { infoHeaderOf(b).biWidth = 1 << 30; }, 0},
        {"more memory than any sidebar needs", false,
         [](std::string& b) {
             infoHeaderOf(b).biWidth = 8000;  // 192 MB of pixel memory
             infoHeaderOf(b).biHeight = 8000;
         },
         0},
        {"a negative width", false, [](std::string& b) { infoHeaderOf(b).biWidth = -12; }, 0},
    };
    std::string list;
    std::vector<LONG> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string bmp = solidBmp(12, 4, kColour);
        LONG mark = 100 + static_cast<LONG>(i);
        infoHeaderOf(bmp).biXPelsPerMeter = mark;
        cases[i].change(bmp);
        std::string name = "file" + std::to_string(i) + ".bmp";
        writeFile(name, bmp);
        list += name + "\n";
        if (cases[i].loads) expected.push_back(mark);
    }
    load(list + "EOF\n");
    ASSERT_EQ(loadedMarks(), expected);

    for (int32_t n = 0; n < count(state.bitmaps); ++n) {
        const SidebarBitmap* bitmap = at(state.bitmaps, n);
        const Case& c = cases[bitmap->infoHeader.biXPelsPerMeter - 100];
        EXPECT_EQ(bitmap->bitmapInfo.bmiHeader.biSize, 40u) << c.what;
        EXPECT_EQ(bitmap->bitmapInfo.bmiHeader.biWidth, bitmap->infoHeader.biWidth) << c.what;
        EXPECT_EQ(bitmap->bitmapInfo.bmiHeader.biHeight, bitmap->infoHeader.biHeight) << c.what;
        std::size_t sectionBytes = (static_cast<std::size_t>(bitmap->infoHeader.biWidth) * 3 + 3) / 4 * 4 *
                                   std::abs(bitmap->infoHeader.biHeight);
        const auto* bits = static_cast<const unsigned char*>(bitmap->bits);
        for (std::size_t at = 0; at + 3 <= c.bytesFromFile; at += 3)
            ASSERT_EQ(colourAt(bitmap, at), kColour) << c.what << ", byte " << at;
        for (std::size_t at = c.bytesFromFile; at < sectionBytes; ++at)
            ASSERT_EQ(bits[at], 0) << c.what << ", byte " << at << " should not have been read";
    }
}

}  // namespace
