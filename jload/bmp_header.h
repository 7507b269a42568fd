#pragma once

#include <cstddef>
#include <cstdint>

// The start of a BMP file as the decoder's header check and the viewer's
// sidebar loader read it: a 14-byte file header, then an info header of 40
// bytes or more (BITMAPINFOHEADER, and the V4 and V5 headers that begin with
// the same fields). All fields are little-endian.
constexpr std::size_t kBmpFileHeaderBytes = 14;
constexpr std::size_t kBmpInfoHeaderBytes = 40;
constexpr std::size_t kBmpCoreHeaderBytes = 12;  // the older OS/2 header, laid out differently

// Compression values of plain rows.
constexpr uint32_t kBmpRgb = 0;
constexpr uint32_t kBmpBitfields = 3;
constexpr uint32_t kBmpAlphaBitfields = 6;

inline uint32_t littleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline uint16_t littleEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct BmpHeader {
    uint32_t fileSize = 0;     // bfSize
    uint32_t pixelOffset = 0;  // bfOffBits
    uint32_t infoSize = 0;     // biSize
    int32_t width = 0;
    int32_t height = 0;  // negative: rows top-down
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
};

// The fields from the first kBmpFileHeaderBytes + kBmpInfoHeaderBytes bytes
// of a file, as they stand; judging them is the caller's.
inline BmpHeader readBmpHeader(const uint8_t* head) {
    const uint8_t* info = head + kBmpFileHeaderBytes;
    BmpHeader h;
    h.fileSize = littleEndian32(head + 2);
    h.pixelOffset = littleEndian32(head + 10);
    h.infoSize = littleEndian32(info);
    h.width = static_cast<int32_t>(littleEndian32(info + 4));
    h.height = static_cast<int32_t>(littleEndian32(info + 8));
    h.planes = littleEndian16(info + 12);
    h.bitCount = littleEndian16(info + 14);
    h.compression = littleEndian32(info + 16);
    return h;
}
