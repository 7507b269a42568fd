#include "jload/picture_header.h"

#include <cstring>

#include "jload/bmp_header.h"

namespace {

uint32_t bigEndian32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}
uint32_t bigEndian16(const uint8_t* p) { return uint32_t{p[0]} << 8 | uint32_t{p[1]}; }

PictureHeader judged(PictureFormat format, uint32_t width, uint32_t height, PictureVerdict verdict) {
    return PictureHeader{format, width, height, verdict};
}

PictureVerdict sizeVerdict(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return PictureVerdict::damagedHeader;
    return withinPictureBudget(width, height) ? PictureVerdict::accepted : PictureVerdict::tooLarge;
}

// The IHDR chunk comes first: signature, length 13, "IHDR", width, height.
PictureHeader checkPng(const uint8_t* head, std::size_t n) {
    if (n < 24 || bigEndian32(head + 8) != 13 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return judged(PictureFormat::png, 0, 0, PictureVerdict::damagedHeader);
    uint32_t width = bigEndian32(head + 16);
    uint32_t height = bigEndian32(head + 20);
    return judged(PictureFormat::png, width, height, sizeVerdict(width, height));
}

bool isStartOfFrame(uint8_t marker) {
    // SOF0-SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments from SOI to the first frame header, which holds
// the height and the width.
PictureHeader checkJpeg(const uint8_t* head, std::size_t n) {
    PictureHeader damaged = judged(PictureFormat::jpeg, 0, 0, PictureVerdict::damagedHeader);
    std::size_t at = 2;
    while (at < n) {
        if (head[at] != 0xFF) return damaged;
        while (at < n && head[at] == 0xFF) ++at;  // fill bytes
        if (at >= n) break;
        uint8_t marker = head[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return damaged;
        if (at + 2 > n) break;
        std::size_t length = bigEndian16(head + at);
        if (length < 2) return damaged;
        if (isStartOfFrame(marker)) {
            if (length < 7 || at + 7 > n) return damaged;
            // A height of 0 would come later in a DNL segment: not known up front.
            uint32_t height = bigEndian16(head + at + 3);
            uint32_t width = bigEndian16(head + at + 5);
            return judged(PictureFormat::jpeg, width, height, sizeVerdict(width, height));
        }
        at += length;
    }
    return damaged;  // no frame header within the bytes looked at
}

// File header, then a 12-byte core header or an info header of 40 bytes or more.
PictureHeader checkBmp(const uint8_t* head, std::size_t n, uint64_t fileBytes) {
    PictureHeader damaged = judged(PictureFormat::bmp, 0, 0, PictureVerdict::damagedHeader);
    if (n < kBmpFileHeaderBytes + 4) return damaged;
    uint32_t pixelOffset = littleEndian32(head + 10);
    uint32_t infoSize = littleEndian32(head + kBmpFileHeaderBytes);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    if (infoSize == kBmpCoreHeaderBytes) {
        if (n < kBmpFileHeaderBytes + kBmpCoreHeaderBytes) return damaged;
        width = littleEndian16(head + 18);
        height = littleEndian16(head + 20);
        bitCount = littleEndian16(head + 24);
    } else if (infoSize >= kBmpInfoHeaderBytes) {
        if (n < kBmpFileHeaderBytes + kBmpInfoHeaderBytes) return damaged;
        const BmpHeader h = readBmpHeader(head);
        width = h.width;
        height = h.height;  // negative: rows top-down
        bitCount = h.bitCount;
        compression = h.compression;
    } else {
        return damaged;
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > UINT32_MAX || height > UINT32_MAX) return damaged;
    auto w = static_cast<uint32_t>(width);
    auto h = static_cast<uint32_t>(height);
    PictureVerdict verdict = sizeVerdict(w, h);
    if (verdict != PictureVerdict::accepted) return judged(PictureFormat::bmp, w, h, verdict);

    // Plain rows (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) take a known number
    // of bytes, which the file must hold after its pixel offset. Compressed
    // rows (RLE, embedded JPEG or PNG) have only the pixel budget.
    if (compression == kBmpRgb || compression == kBmpBitfields || compression == kBmpAlphaBitfields) {
        if (bitCount == 0 || bitCount > 32) return judged(PictureFormat::bmp, w, h, PictureVerdict::damagedHeader);
        uint64_t rowBytes = (uint64_t{w} * bitCount + 31) / 32 * 4;
        uint64_t pixelBytes = rowBytes * h;
        if (pixelOffset > fileBytes || pixelBytes > fileBytes - pixelOffset)
            return judged(PictureFormat::bmp, w, h, PictureVerdict::pixelsBeyondFile);
    }
    return judged(PictureFormat::bmp, w, h, PictureVerdict::accepted);
}

}  // namespace

PictureHeader checkPictureHeader(const uint8_t* head, std::size_t headBytes, uint64_t fileBytes) {
    if (headBytes > fileBytes) headBytes = static_cast<std::size_t>(fileBytes);
    static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (headBytes >= sizeof kPng && std::memcmp(head, kPng, sizeof kPng) == 0) return checkPng(head, headBytes);
    if (headBytes >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return checkJpeg(head, headBytes);
    if (headBytes >= 2 && head[0] == 'B' && head[1] == 'M') return checkBmp(head, headBytes, fileBytes);
    return PictureHeader{};
}

const char* describePictureVerdict(PictureVerdict verdict) {
    switch (verdict) {
    case PictureVerdict::accepted:
        return "accepted";
    case PictureVerdict::unknownFormat:
        return "not a PNG, JPEG or BMP picture";
    case PictureVerdict::damagedHeader:
        return "its size cannot be read from its header";
    case PictureVerdict::tooLarge:
        return "larger than the decoder accepts";
    case PictureVerdict::pixelsBeyondFile:
        return "its pixels would be longer than the file";
    }
    return "unknown";
}
