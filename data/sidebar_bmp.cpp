#include "data/sidebar_bmp.h"

#include <cstdlib>

namespace {

uint32_t readU32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
int32_t readI32(const uint8_t* p) { return static_cast<int32_t>(readU32(p)); }

constexpr uint32_t kBiRgb = 0;

}  // namespace

SidebarBmpPlan planSidebarBmp(const uint8_t (&headers)[kSidebarBmpHeaderBytes]) {
    const uint8_t* file = headers;
    const uint8_t* info = headers + kBmpFileHeaderBytes;
    uint32_t bfSize = readU32(file + 2);
    uint32_t bfOffBits = readU32(file + 10);
    uint32_t biSize = readU32(info);
    int32_t width = readI32(info + 4);
    int32_t height = readI32(info + 8);
    uint16_t planes = readU16(info + 12);
    uint16_t bitCount = readU16(info + 14);
    uint32_t compression = readU32(info + 16);

    SidebarBmpPlan plan;
    // Only 24-bit art is shown. Larger info headers (V4, V5) start with the
    // same 40 bytes, which is all a DIB section needs; a 12-byte core header
    // lays its fields out differently. A 24-bit section holds plain rows
    // only, and GDI refuses zero planes.
    if (bitCount != 24 || biSize < kBmpInfoHeaderBytes || compression != kBiRgb || planes == 0) return plan;
    // The sign of the height gives the row order.
    int64_t rows = std::llabs(int64_t{height});
    if (width <= 0 || rows == 0) return plan;
    int64_t rowBytes = (int64_t{width} * 3 + 3) / 4 * 4;
    if (rowBytes > kMaxSidebarBmpBytes || rows > kMaxSidebarBmpBytes / rowBytes) return plan;
    int64_t sectionBytes = rowBytes * rows;

    plan.accepted = true;
    plan.sectionBytes = static_cast<uint32_t>(sectionBytes);
    plan.pixelOffset = bfOffBits;
    // bfSize − bfOffBits is what the file says its pixels take; when bfSize
    // cannot say (0, or less than the offset), the section's size is read.
    uint32_t declared = bfSize >= bfOffBits ? bfSize - bfOffBits : plan.sectionBytes;
    plan.readBytes = declared < plan.sectionBytes ? declared : plan.sectionBytes;
    return plan;
}
