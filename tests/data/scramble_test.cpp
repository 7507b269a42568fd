#include "data/scramble.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

TEST(Scramble, KeysAreFixed) {
    // Stored files depend on these bytes: changing the generator breaks every
    // data and picture file already made.
    DataKey data = makeDataKey();
    PictureKey picture = makePictureKey();
    EXPECT_EQ(data, makeDataKey());
    EXPECT_EQ(picture, makePictureKey());
    EXPECT_EQ((std::vector<int>{data[0], data[1], data[8]}), (std::vector<int>{188, 142, 204}));
    EXPECT_EQ((std::vector<int>{picture[0], picture[13], picture[26]}), (std::vector<int>{68, 58, 44}));
}

TEST(Scramble, ChunkedDescramblingUndoesScrambling) {
    std::vector<std::uint8_t> plain(1000);
    std::iota(plain.begin(), plain.end(), 0);
    std::vector<std::uint8_t> bytes = plain;
    PictureKey key = makePictureKey();
    scrambleBytes(bytes.data(), bytes.size(), 0, key.data(), key.size());
    EXPECT_NE(bytes, plain);
    EXPECT_EQ(bytes[27], static_cast<std::uint8_t>(plain[27] + key[0])) << "the key restarts every 27 bytes";
    // In uneven chunks, as a buffered reader would.
    descrambleBytes(bytes.data(), 100, 0, key.data(), key.size());
    descrambleBytes(bytes.data() + 100, 900, 100, key.data(), key.size());
    EXPECT_EQ(bytes, plain);
}

}  // namespace
