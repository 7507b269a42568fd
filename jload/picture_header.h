#pragma once

#include <cstddef>
#include <cstdint>

#include "jload/jload.h"

// The header check by which the decoder refuses a picture before it decodes
// it; the content tool holds the bundled pictures to the same check.

// How many bytes from the start of a file are enough to find its size.
constexpr std::size_t kPictureProbeBytes = 256 * 1024;

enum class PictureFormat { unknown, png, jpeg, bmp };

enum class PictureVerdict {
    accepted,
    unknownFormat,     // not PNG, JPEG or BMP
    damagedHeader,     // the size cannot be read from the header
    tooLarge,          // above kMaxPictureSide or kMaxPicturePixels
    pixelsBeyondFile,  // uncompressed pixels that would be longer than the file
};

struct PictureHeader {
    PictureFormat format = PictureFormat::unknown;
    uint32_t width = 0;
    uint32_t height = 0;
    PictureVerdict verdict = PictureVerdict::unknownFormat;
};

// Reads a picture's size from its first bytes (`head`, the first headBytes of
// a file of fileBytes bytes) and judges it, before anything is decoded or
// allocated for its pixels.
PictureHeader checkPictureHeader(const uint8_t* head, std::size_t headBytes, uint64_t fileBytes);

// A short English reason for a verdict, for messages.
const char* describePictureVerdict(PictureVerdict verdict);
