#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/win32_owners.h"
#include "jload/jload.h"

// The decoder library and its export, loaded as the viewer loads them; both
// null when the library or its export is missing.
struct Decoder {
    OwnedModule module;
    DecoderLoad load = nullptr;
};
Decoder loadDecoder(const char* library = kDecoderLibrary);

// A decoded picture in one GlobalAlloc block: a BITMAPINFO (header and one
// colour entry, 44 bytes) followed by bottom-up 32-bit pixels. `info` is null
// when there is no picture.
struct Picture {
    void* info = nullptr;
    void* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

constexpr std::size_t kPictureHeaderBytes = 44;
constexpr std::size_t kTempPathBufferSize = 500;
constexpr char kFallbackPicturePath[] = "image/food_image/no";

enum class PictureKind { ingredient = 1, dish = 2 };

// "image/food_image/%03d1" or "%03d2" for an entry id.
void formatPicturePath(char* out, std::size_t size, int32_t id, PictureKind kind);

// Decodes a scrambled picture file through the decoder's load function.
// Returns 1 and fills picture on success; 0 with `info` null otherwise (also
// without a decoder). No temporary file outlives the call.
int32_t decodePicture(const char* path, Picture* picture, DecoderLoad decoder);
void freePicture(Picture* picture);

// The entry's own picture, or the fallback "no" picture; `info` null when neither decodes.
void decodeEntryPicture(int32_t id, PictureKind kind, Picture* picture, DecoderLoad decoder);

// Draws a whole picture stretched into the destination rectangle.
void drawPicture(HDC dc, const Picture& picture, int x, int y, int width, int height);

// Loads the entry's picture of that kind (or the fallback), draws it stretched
// into the rectangle and frees it; draws nothing when neither decodes. The one
// picture drawer of the screen pages and the printout.
void drawEntryPicture(HDC dc, int32_t id, PictureKind kind, DecoderLoad decoder, int x, int y, int width, int height);
