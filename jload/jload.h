// jload.dll: decodes a picture file into a plain block of pixels. This header
// is the library's whole contract, for the library itself, the viewer, the
// content tool and the tests.
#pragma once

#include <cstddef>
#include <cstdint>

// The library and its one export, found with LoadLibraryA and GetProcAddress.
constexpr char kDecoderLibrary[] = "jload";
constexpr char kDecoderExport[] = "load";

// load: decodes the picture at path (ANSI code page). Returns null for anything
// it cannot decode or refuses. The file is closed again when it returns.
using DecoderLoad = void* (*)(const char* path);

// The block that load returns starts with this header; the pixels follow at
// offset 8: width * height entries of 4 bytes (blue, green, red, unused),
// bottom row first, no row padding. The block comes from
// GlobalAlloc(GMEM_FIXED); the caller frees it with GlobalFree.
struct DecodedImageHeader {
    int32_t width;
    int32_t height;
};
constexpr std::size_t kDecodedPixelsOffset = sizeof(DecodedImageHeader);
static_assert(kDecodedPixelsOffset == 8, "the pixels start at offset 8");

// Every paint of a picture page decodes its picture again, so one decode must
// stay well inside a frame. Under Wine on the two-core build machine a decode
// costs about 5 ns a pixel for BMP, 12 for flat PNG art, 15 for JPEG and 25
// for a photo-like PNG, and up to twice that while the machine is busy:
// 640 x 480 pixels take 1.5-7 ms (14 ms at worst), 1024 x 1024 takes 25-50 ms.
// The viewer draws nothing larger than 605 x 451 (the printed picture), which
// fits within the budget; the bundled 300 x 200 cards are far below it.
// Larger pictures are refused from their header, before they are decoded.
constexpr int32_t kMaxPictureSide = 16384;
constexpr uint64_t kMaxPicturePixels = 640 * 480;

// The one size check of the decoder, the viewer (which holds the library's
// answer to it as well) and the content tool: a picture of width x height is
// decoded only within these limits.
constexpr bool withinPictureBudget(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPicturePixels;
}
