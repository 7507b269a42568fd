#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The data file and the picture files store every byte plus a key byte, modulo
// 256; the key byte is chosen by the byte's file offset modulo the key length.
// The viewer and the content tools share these keys through this one file.
constexpr std::size_t kDataKeyLength = 9;
constexpr std::size_t kPictureKeyLength = 27;

using DataKey = std::array<std::uint8_t, kDataKeyLength>;
using PictureKey = std::array<std::uint8_t, kPictureKeyLength>;

DataKey makeDataKey();
PictureKey makePictureKey();

// `offset` is the file offset of bytes[0], so a file can be handled in chunks.
void scrambleBytes(std::uint8_t* bytes, std::size_t n, std::size_t offset, const std::uint8_t* key,
                   std::size_t keyLength);
void descrambleBytes(std::uint8_t* bytes, std::size_t n, std::size_t offset, const std::uint8_t* key,
                     std::size_t keyLength);
