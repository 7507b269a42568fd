#include "data/scramble.h"

namespace {

// The keys are generated rather than stored, so they never appear as a block of
// bytes in the binaries. Each byte follows from the one before.
template <std::size_t N>
std::array<std::uint8_t, N> generateKey(std::uint8_t seed, std::uint8_t step) {
    std::array<std::uint8_t, N> key{};
    std::uint8_t b = seed;
    for (std::size_t i = 0; i < N; ++i) {
        b = static_cast<std::uint8_t>(b * 29u + step);
        key[i] = static_cast<std::uint8_t>(b ^ (i * 7u));
    }
    return key;
}

}  // namespace

DataKey makeDataKey() { return generateKey<kDataKeyLength>(0x4B, 0x3D); }

PictureKey makePictureKey() { return generateKey<kPictureKeyLength>(0xA7, 0x59); }

void scrambleBytes(std::uint8_t* bytes, std::size_t n, std::size_t offset, const std::uint8_t* key,
                   std::size_t keyLength) {
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(bytes[i] + key[(offset + i) % keyLength]);
}

void descrambleBytes(std::uint8_t* bytes, std::size_t n, std::size_t offset, const std::uint8_t* key,
                     std::size_t keyLength) {
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(bytes[i] - key[(offset + i) % keyLength]);
}
