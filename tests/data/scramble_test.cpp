#include "data/scramble.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

// Every data and picture file already made depends on the two keys, so the
// scrambled form of a known byte sequence is written out here in full: plain
// bytes 0, 1, ..., 29 as stored in each kind of file. Thirty bytes pass the
// end of both keys (9 and 27 bytes), so the restart of each key is covered.
const std::vector<std::uint8_t> kPlain = [] {
    std::vector<std::uint8_t> bytes(30);
    std::iota(bytes.begin(), bytes.end(), 0);
    return bytes;
}();

const std::vector<std::uint8_t> kPictureFileBytes = {0x44, 0x0B, 0xDE, 0x39, 0x50, 0x4F, 0x1A, 0x75, 0x2C, 0xC3,
                                                     0x36, 0x21, 0x08, 0x47, 0x42, 0x8D, 0x94, 0x9B, 0x8E, 0x29,
                                                     0xA0, 0xDF, 0x0A, 0x85, 0x7C, 0xF3, 0x46, 0x5F, 0x26, 0xF9};

const std::vector<std::uint8_t> kDataFileBytes = {0xBC, 0x8F, 0xCE, 0x25, 0x68, 0xFB, 0x7A, 0xD9, 0xD4, 0xC5,
                                                  0x98, 0xD7, 0x2E, 0x71, 0x04, 0x83, 0xE2, 0xDD, 0xCE, 0xA1,
                                                  0xE0, 0x37, 0x7A, 0x0D, 0x8C, 0xEB, 0xE6, 0xD7, 0xAA, 0xE9};

TEST(Scramble, KnownBytesScrambleToTheStoredFormInChunksAndBack) {
    PictureKey picture = makePictureKey();
    DataKey data = makeDataKey();
    struct Case {
        const char* file;
        const std::uint8_t* key;
        std::size_t keyLength;
        const std::vector<std::uint8_t>& stored;
    } cases[] = {
        {"picture file", picture.data(), picture.size(), kPictureFileBytes},
        {"data file", data.data(), data.size(), kDataFileBytes},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = kPlain;
        scrambleBytes(bytes.data(), bytes.size(), 0, c.key, c.keyLength);
        EXPECT_EQ(bytes, c.stored) << c.file;
        // In uneven chunks, as a buffered reader meets them, each chunk
        // starting at its own file offset.
        bytes = c.stored;
        descrambleBytes(bytes.data(), 4, 0, c.key, c.keyLength);
        descrambleBytes(bytes.data() + 4, 19, 4, c.key, c.keyLength);
        descrambleBytes(bytes.data() + 23, 7, 23, c.key, c.keyLength);
        EXPECT_EQ(bytes, kPlain) << c.file;
    }
}

}  // namespace
