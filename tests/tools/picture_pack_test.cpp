#include "tools/picture_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string bytesOf(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The start of a PNG: signature and IHDR chunk (the checksum is not read).
std::string pngHeader(unsigned width, unsigned height) {
    std::vector<unsigned char> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (unsigned value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return bytesOf(bytes);
}

class PicturePack : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "src");
    }
    void TearDown() override { fs::remove_all(dir); }
    void source(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / "src" / name, std::ios::binary) << bytes;
    }
    std::vector<std::string> pack() { return packPictures((dir / "src").string(), (dir / "out").string()); }

    fs::path dir = fs::temp_directory_path() / "verdalis-picture-pack";
};

TEST(PicturePackNames, ViewerNames) {
    EXPECT_EQ(pictureTargetName("0071.png"), "0071");
    EXPECT_EQ(pictureTargetName("1262.png"), "1262");
    EXPECT_EQ(pictureTargetName("no.png"), "no");
    for (const char* other : {"0073.png", "071.png", "abc1.png", "0071.jpg", "LICENSE", ".png", "no.png.bak"})
        EXPECT_EQ(pictureTargetName(other), "") << other;
}

TEST_F(PicturePack, ScramblesWithThePictureKey) {
    // The 33-byte start of a 300 x 200 PNG, and the same bytes as the viewer
    // expects them on disk.
    const std::string plain = bytesOf({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00,
                                       0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x01, 0x2C, 0x00, 0x00,
                                       0x00, 0xC8, 0x08, 0x02, 0x00, 0x00, 0x00, 0xDD, 0xBD, 0x4B, 0x02});
    const std::string stored = bytesOf({0xCD, 0x5A, 0x2A, 0x7D, 0x59, 0x54, 0x2E, 0x78, 0x24, 0xBA, 0x2C,
                                        0x23, 0x45, 0x82, 0x78, 0xD0, 0x84, 0x8A, 0x7D, 0x42, 0x8C, 0xCA,
                                        0xF4, 0x36, 0x6C, 0xDC, 0x2C, 0x44, 0x0A, 0xB9, 0xF3, 0x97, 0x4C});
    source("0071.png", plain);
    source("README", "not a picture");
    EXPECT_TRUE(pack().empty());
    EXPECT_EQ(readAll(dir / "out" / "0071"), stored);
    EXPECT_FALSE(fs::exists(dir / "out" / "README"));
}

// Pictures the viewer's decoder would refuse never reach the bundle: each is
// reported by its file name, and nothing is written for it.
TEST_F(PicturePack, RejectsPicturesTheDecoderRefuses) {
    source("0011.png", pngHeader(640, 480));  // as many pixels as the decoder takes
    source("0012.png", pngHeader(1024, 300));
    source("0021.png", pngHeader(641, 480));
    source("0031.png", pngHeader(6000, 6000));
    source("0041.png", pngHeader(16385, 1));
    source("0051.png", "GIF89a, not a PNG");
    source("0061.png", pngHeader(0, 10));
    std::vector<std::string> problems = pack();
    ASSERT_EQ(problems.size(), 5u);
    auto reported = [&](const std::string& name, const std::string& words) {
        for (const std::string& p : problems)
            if (p.find((dir / "src" / name).string()) == 0 && p.find(words) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(reported("0021.png", "641 x 480 pixels is larger than")) << testing::PrintToString(problems);
    EXPECT_TRUE(reported("0031.png", "6000 x 6000 pixels")) << testing::PrintToString(problems);
    EXPECT_TRUE(reported("0041.png", "16385 x 1 pixels")) << testing::PrintToString(problems);
    EXPECT_TRUE(reported("0051.png", "not a PNG")) << testing::PrintToString(problems);
    EXPECT_TRUE(reported("0061.png", "size cannot be read")) << testing::PrintToString(problems);
    EXPECT_TRUE(fs::exists(dir / "out" / "0011"));
    EXPECT_TRUE(fs::exists(dir / "out" / "0012"));
    for (const char* refused : {"0021", "0031", "0041", "0051", "0061"})
        EXPECT_FALSE(fs::exists(dir / "out" / refused)) << refused;
}

}  // namespace
