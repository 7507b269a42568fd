#include "tools/picture_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/scramble.h"

namespace {

namespace fs = std::filesystem;

TEST(PicturePack, ViewerNames) {
    EXPECT_EQ(pictureTargetName("0071.png"), "0071");
    EXPECT_EQ(pictureTargetName("1262.png"), "1262");
    EXPECT_EQ(pictureTargetName("no.png"), "no");
    for (const char* other : {"0073.png", "071.png", "abc1.png", "0071.jpg", "LICENSE", ".png", "no.png.bak"})
        EXPECT_EQ(pictureTargetName(other), "") << other;
}

TEST(PicturePack, ScramblesWithThePictureKey) {
    fs::path dir = fs::temp_directory_path() / "verdalis-picture-pack";
    fs::remove_all(dir);
    fs::create_directories(dir / "src");
    std::string plain(100, '\0');
    for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<char>(i * 7);
    std::ofstream(dir / "src" / "0071.png", std::ios::binary) << plain;
    std::ofstream(dir / "src" / "README") << "not a picture";
    EXPECT_TRUE(packPictures((dir / "src").string(), (dir / "out").string()).empty());
    std::ifstream in(dir / "out" / "0071", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), plain.size());
    EXPECT_NE(bytes, plain);
    PictureKey key = makePictureKey();
    descrambleBytes(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), 0, key.data(), key.size());
    EXPECT_EQ(bytes, plain);
    EXPECT_FALSE(fs::exists(dir / "out" / "README"));
    fs::remove_all(dir);
}

}  // namespace
