#include "tools/picture_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// The start of a PNG: signature and IHDR chunk (the checksum is not read).
std::string pngHeader(unsigned width, unsigned height) {
    std::vector<unsigned char> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (unsigned value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return std::string(bytes.begin(), bytes.end());
}

// Pictures the viewer's decoder would refuse never reach the bundle: each is
// reported by its file name, and nothing is written for it.
TEST(PicturePack, RefusesWhatTheDecoderRefuses) {
    struct Case {
        const char* file;
        std::string bytes;
        const char* problem;  // empty: packed
    };
    const Case cases[] = {
        {"0011.png", pngHeader(640, 480), ""},  // as many pixels as the decoder takes
        {"0012.png", pngHeader(1024, 300), ""},
        {"0021.png", pngHeader(641, 480), "641 x 480 pixels is larger than"},
        {"0031.png", pngHeader(6000, 6000), "6000 x 6000 pixels"},
        {"0041.png", pngHeader(16385, 1), "16385 x 1 pixels"},
        {"0051.png", "GIF89a, not a PNG", "not a PNG"},
        {"0061.png", pngHeader(0, 10), "size cannot be read"},
    };
    const auto dir = std::filesystem::temp_directory_path() / "verdalis-picture-pack";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "src");
    for (const Case& c : cases) std::ofstream(dir / "src" / c.file, std::ios::binary) << c.bytes;
    const std::vector<std::string> problems = packPictures((dir / "src").string(), (dir / "out").string());
    EXPECT_EQ(problems.size(), 5u) << testing::PrintToString(problems);
    for (const Case& c : cases) {
        const std::string named = (dir / "src" / c.file).string() + ": ";
        bool reported = false;
        for (const std::string& p : problems)
            reported = reported || (p.rfind(named, 0) == 0 && p.find(c.problem) != std::string::npos);
        EXPECT_EQ(reported, *c.problem != '\0') << c.file << ": " << testing::PrintToString(problems);
        EXPECT_EQ(std::filesystem::exists(dir / "out" / std::string(c.file, 4)), *c.problem == '\0') << c.file;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
