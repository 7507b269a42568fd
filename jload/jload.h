// jload.dll: decodes a picture file into a plain block of pixels.
#pragma once

#include <cstdint>

#include "data/picture_header.h"

#ifdef JLOAD_BUILDING_DLL
#define JLOAD_API extern "C" __declspec(dllexport)
#else
#define JLOAD_API extern "C" __declspec(dllimport)
#endif

// The block that load returns starts with this header; the pixels follow at
// offset 8: width * height entries of 4 bytes (blue, green, red, unused),
// bottom row first, no row padding. The block comes from
// GlobalAlloc(GMEM_FIXED); the caller frees it with GlobalFree.
struct DecodedImageHeader {
    int32_t width;
    int32_t height;
};
static_assert(sizeof(DecodedImageHeader) == 8, "the pixels start at offset 8");

// Largest width or height accepted, and the pixel budget: larger pictures
// are refused before they are decoded.
constexpr int32_t kMaxImageSide = kMaxPictureSide;
constexpr uint64_t kMaxImagePixels = kMaxPicturePixels;

// Decodes the picture at path (ANSI code page). Returns null for anything it
// cannot decode or refuses. The file is closed again when this returns.
JLOAD_API void* load(const char* path);

// The signature of load, for callers that find it with GetProcAddress.
using LoadImageFunction = void* (*)(const char* path);
