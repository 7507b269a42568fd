#include "tools/picture_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The start of a PNG: signature and IHDR chunk (the checksum is not read).
std::string pngHeader(unsigned width, unsigned height) {
    std::vector<unsigned char> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (unsigned value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return std::string(bytes.begin(), bytes.end());
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
