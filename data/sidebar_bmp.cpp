#include "data/sidebar_bmp.h"

#include <cstdlib>

SidebarBmpPlan planSidebarBmp(const uint8_t (&headers)[kSidebarBmpHeaderBytes]) {
    const BmpHeader h = readBmpHeader(headers);
    const uint32_t bfSize = h.fileSize;
    const uint32_t bfOffBits = h.pixelOffset;
    const int32_t width = h.width;
    const int32_t height = h.height;

    SidebarBmpPlan plan;
    // Only 24-bit art is shown. Larger info headers (V4, V5) start with the
    // same 40 bytes, which is all a DIB section needs; a 12-byte core header
    // lays its fields out differently. A 24-bit section holds plain rows
    // only, and GDI refuses zero planes.
    if (h.bitCount != 24 || h.infoSize < kBmpInfoHeaderBytes || h.compression != kBmpRgb || h.planes == 0) return plan;
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
