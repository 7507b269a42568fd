#pragma once

#include <cstddef>
#include <cstdint>

// Limits on the pictures the decoder accepts, shared by the decoder library
// and the content tool that prepares the bundled pictures. Every paint of a
// picture page decodes its picture again, so one decode must stay well inside
// a frame. Under Wine on the two-core build machine a decode costs about
// 5 ns a pixel for BMP, 12 for flat PNG art, 15 for JPEG and 25 for a
// photo-like PNG, and up to twice that while the machine is busy: 640 x 480
// pixels take 1.5-7 ms (14 ms at worst), 1024 x 1024 takes 25-50 ms. The
// viewer draws nothing larger than 605 x 451 (the printed picture), which fits
// within the budget; the bundled 300 x 200 cards are far below it.
constexpr int32_t kMaxPictureSide = 16384;
constexpr uint64_t kMaxPicturePixels = 640 * 480;

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
