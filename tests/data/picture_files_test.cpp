// The viewer's pictures and sidebar bitmaps, loaded from their files.
#include "data/picture.h"
#include "data/record_list.h"
#include "data/scramble.h"
#include "data/sidebar_bitmap.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/viewer_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr COLORREF kColour = RGB(0x10, 0x80, 0xF0);

void writeScrambledPicture(const std::string& path, std::string plain) {
    fs::create_directories(fs::path(path).parent_path());
    PictureKey key = makePictureKey();
    scrambleBytes(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size(), 0, key.data(), key.size());
    writeFile(path, plain);
}

// No temporary copy is left beside the pictures a test wrote.
long filesInPictureFolder() {
    return std::distance(fs::directory_iterator("image/food_image"), fs::directory_iterator());
}

// Pictures decode through the real library in stage\ next to the test executable.
class PictureTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        char exe[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        ASSERT_TRUE(attachDecoder(&state, (fs::path(exe).parent_path() / "stage" / "jload.dll").string().c_str()));
        // The pictures tell themselves apart by their widths.
        writeScrambledPicture("image/food_image/0071", solidBmp(3, 2, kColour));
        writeScrambledPicture("image/food_image/1262", solidBmp(4, 2, kColour));
        writeScrambledPicture("image/food_image/no", solidBmp(5, 2, kColour));
    }
    void TearDown() override {
        releaseViewerState(&state);
        ViewerTest::TearDown();
    }
};

// The picture file is descrambled into a temporary copy (longer than the
// 27-byte key), which the decoder reads and which is gone afterwards; the
// block holds a 44-byte BITMAPINFO and the decoded pixels.
TEST_F(PictureTest, DecodesThroughADescrambledTemporaryCopy) {
    Picture picture;
    ASSERT_EQ(loadPicture("image/food_image/0071", &picture, &state), 1);
    EXPECT_EQ(filesInPictureFolder(), 3);
    ASSERT_NE(picture.info, nullptr);
    ASSERT_GE(GlobalSize(picture.info), 68u) << "44 header bytes and 24 pixel bytes";
    BITMAPINFOHEADER expected = {40, 3, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const auto* bytes = static_cast<const unsigned char*>(picture.info);
    EXPECT_EQ(std::memcmp(bytes, &expected, 40), 0);
    EXPECT_EQ(std::memcmp(bytes + 40, "\0\0\0\0", 4), 0) << "the colour entry is 0";
    ASSERT_EQ(picture.pixels, bytes + 44);
    for (int i = 0; i < 6; ++i) {
        const unsigned char* p = bytes + 44 + 4 * i;
        EXPECT_EQ(RGB(p[2], p[1], p[0]), kColour) << "pixel " << i;
    }
    freePicture(&picture);
    EXPECT_EQ(picture.info, nullptr);
}

TEST_F(PictureTest, FailuresLeaveNoPictureAndNoTemporaryFile) {
    writeScrambledPicture("image/food_image/0081", "not a picture");
    // A decoder library that hands back a size no picture has.
    DecoderLoad absurd = [](const char*) -> void* {
        DecodedImageHeader size{1 << 20, 2};
        void* block = GlobalAlloc(GMEM_FIXED, sizeof size);
        std::memcpy(block, &size, sizeof size);
        return block;
    };
    DecoderLoad real = state.decoderLoad;
    std::tuple<const char*, DecoderLoad, const char*> cases[] = {
        {"missing file", real, "image/food_image/0991"},
        {"no decoder", nullptr, "image/food_image/0071"},
        {"the decoder refuses it", real, "image/food_image/0081"},
        {"absurd size", absurd, "image/food_image/0071"},
    };
    for (const auto& [what, decoder, path] : cases) {
        state.decoderLoad = decoder;
        Picture picture;
        picture.info = reinterpret_cast<void*>(1);
        EXPECT_EQ(loadPicture(path, &picture, &state), 0) << what;
        EXPECT_EQ(picture.info, nullptr) << what;
        EXPECT_EQ(filesInPictureFolder(), 4) << what;
    }
}

TEST_F(PictureTest, TheEntrysOwnPictureOrTheFallback) {
    std::tuple<int32_t, PictureKind, int32_t> cases[] = {
        {7, PictureKind::ingredient, 3}, {126, PictureKind::dish, 4}, {7, PictureKind::dish, 5}};
    for (const auto& [id, kind, width] : cases) {
        Picture picture;
        loadEntryPicture(id, kind, &picture, &state);
        EXPECT_EQ(picture.width, width) << "entry " << id << ", kind " << static_cast<int>(kind);
        freePicture(&picture);
    }
    fs::remove("image/food_image/no");
    Picture picture;
    loadEntryPicture(7, PictureKind::dish, &picture, &state);
    EXPECT_EQ(picture.info, nullptr) << "neither picture decodes";
}

BITMAPFILEHEADER& fileHeaderOf(std::string& bmp) { return *reinterpret_cast<BITMAPFILEHEADER*>(bmp.data()); }
BITMAPINFOHEADER& infoHeaderOf(std::string& bmp) {
    return *reinterpret_cast<BITMAPINFOHEADER*>(bmp.data() + sizeof(BITMAPFILEHEADER));
}

// Every file holds 13 x 4 pixels of 24 bits (rows of 39 bytes padded to 40),
// and is marked with its number in a header field that nothing else reads.
// What can be loaded safely is loaded, whatever the file's own bookkeeping
// says; only what would hurt memory or what GDI cannot make a section of is
// refused, and every later bitmap then moves up one position. The section
// holds the file's pixel bytes as far as they are read, and zeros after them.
using SidebarBitmapTest = ViewerTest;

TEST_F(SidebarBitmapTest, LoadsWhatCanBeLoadedSafely) {
    constexpr std::size_t kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    constexpr std::size_t kSectionBytes = 40 * 4;
    const std::string plain = solidBmp(13, 4, RGB(0x30, 0x60, 0x90));
    struct Case {
        const char* what;
        bool loads;
        std::function<void(std::string&)> change;
        std::size_t bytesFromFile;  // pixel bytes read; the rest of the section stays zero
    } cases[] = {
        {"a plain file", true, [](std::string&) {}, kSectionBytes},
        {"truncated in its third row", true, [](std::string& b) { b.resize(kHeaders + 2 * 40 + 10); }, 90},
        {"bfSize counting padding after the pixels", true,
         [](std::string& b) {
             fileHeaderOf(b).bfSize += 4096;
             b.append(4096, '\x7F');
         },
         kSectionBytes},
        {"bfSize short of the pixels", true, [](std::string& b) { fileHeaderOf(b).bfSize -= 40; }, 120},
        {"bfSize below the pixel offset", true, [](std::string& b) { fileHeaderOf(b).bfSize = 20; }, kSectionBytes},
        {"rows top-down", true, [](std::string& b) { infoHeaderOf(b).biHeight = -4; }, kSectionBytes},
        {"a V5 header", true,
         [](std::string& b) {
             infoHeaderOf(b).biSize = sizeof(BITMAPV5HEADER);
             b.insert(kHeaders, sizeof(BITMAPV5HEADER) - sizeof(BITMAPINFOHEADER), '\0');
             fileHeaderOf(b).bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPV5HEADER);
             fileHeaderOf(b).bfSize = static_cast<DWORD>(b.size());
         },
         kSectionBytes},
        {"shorter than its headers", false, [](std::string& b) { b.resize(40); }, 0},
        {"32 bits a pixel", false, [](std::string& b) { infoHeaderOf(b).biBitCount = 32; }, 0},
        {"a 12-byte core header", false, [](std::string& b) { infoHeaderOf(b).biSize = 12; }, 0},
        {"compressed", false, [](std::string& b) { infoHeaderOf(b).biCompression = BI_BITFIELDS; }, 0},
        {"no planes", false, [](std::string& b) { infoHeaderOf(b).biPlanes = 0; }, 0},
        {"an absurd width", false, [](std::string& b) { infoHeaderOf(b).biWidth = 1 << 30; }, 0},
        // 80 MB of pixel memory, in rows that are each small enough
        {"more memory than any sidebar needs", false, [](std::string& b) { infoHeaderOf(b).biHeight = 2000000; }, 0},
        {"a negative width", false, [](std::string& b) { infoHeaderOf(b).biWidth = -12; }, 0},
    };
    // A missing file and an empty line add nothing either.
    std::string list = "missing.bmp\n\n";
    std::vector<LONG> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string bmp = plain;
        LONG mark = 100 + static_cast<LONG>(i);
        infoHeaderOf(bmp).biXPelsPerMeter = mark;
        cases[i].change(bmp);
        std::string name = "file" + std::to_string(i) + ".bmp";
        writeFile(name, bmp);
        list += name + "\n";
        if (cases[i].loads) expected.push_back(mark);
    }
    writeFile("imagelist.txt", list + "EOF\n");
    ASSERT_NE(createWindow(), nullptr);  // window creation loads the list, as in the viewer
    std::vector<LONG> marks;
    for (int32_t i = 0; i < count(state.bitmaps); ++i)
        marks.push_back(at(state.bitmaps, i)->infoHeader.biXPelsPerMeter);
    ASSERT_EQ(marks, expected);

    for (int32_t n = 0; n < count(state.bitmaps); ++n) {
        const SidebarBitmap* bitmap = at(state.bitmaps, n);
        const Case& c = cases[bitmap->infoHeader.biXPelsPerMeter - 100];
        EXPECT_EQ(bitmap->bitmapInfo.bmiHeader.biSize, 40u) << c.what;
        std::string want = plain.substr(kHeaders, c.bytesFromFile);
        want.resize(kSectionBytes, '\0');
        EXPECT_EQ(std::string(static_cast<const char*>(bitmap->bits), kSectionBytes), want) << c.what;
    }
}

}  // namespace
