#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct ViewerState;

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

bool fileExists(const char* path);
// Size in bytes, 0 when the file cannot be opened.
int32_t fileSize(const char* path);
// Writes the descrambled content of path to path + "buf" and puts that name in
// tempPath; false (and no file left behind) when any step fails.
bool descrambleToTemp(const char* path, char* tempPath, std::size_t tempPathSize);

// Decodes a scrambled picture file through the decoder library. Returns 1 and
// fills picture on success; 0 with `info` null otherwise. No temporary file
// outlives the call.
int32_t loadPicture(const char* path, Picture* picture, ViewerState* state);
void freePicture(Picture* picture);

// The entry's own picture, or the fallback "no" picture; `info` null when neither decodes.
void loadEntryPicture(int32_t id, PictureKind kind, Picture* picture, ViewerState* state);

// Draws a whole picture stretched into the destination rectangle.
void drawPicture(HDC dc, const Picture& picture, int x, int y, int width, int height);
