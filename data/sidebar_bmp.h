#pragma once

#include <cstddef>
#include <cstdint>

#include "jload/bmp_header.h"

// The two headers at the start of a sidebar BMP: the file header and the
// first 40 bytes of the info header.
constexpr std::size_t kSidebarBmpHeaderBytes = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

// Largest pixel memory a sidebar bitmap may ask for. The sidebar art is a few
// hundred pixels each way; a header that asks for far more, in a file of any
// size, would only make the viewer commit memory for nothing.
constexpr uint32_t kMaxSidebarBmpBytes = 64u << 20;

// What the loader does with a sidebar BMP, worked out from its headers alone.
struct SidebarBmpPlan {
    bool accepted = false;
    uint32_t sectionBytes = 0;  // pixel memory of the DIB section the header makes
    uint32_t pixelOffset = 0;   // bfOffBits: where the pixel rows start in the file
    uint32_t readBytes = 0;     // bytes to read from pixelOffset into the section
};

// Accepts a 24-bit BMP whose header a DIB section can be made from and whose
// section stays within the limits above. Reads are capped by the section: a
// bfSize that counts padding after the pixels, or no usable bfSize at all,
// never reads past it; a file that ends early simply gives a short read.
SidebarBmpPlan planSidebarBmp(const uint8_t (&headers)[kSidebarBmpHeaderBytes]);
