#include "data/picture.h"

#include <cstdio>
#include <cstring>

#include "data/scramble.h"
#include "jload/picture_header.h"

namespace {

constexpr char kTempSuffix[] = "buf";
constexpr std::size_t kCopyChunk = 64 * 1024;

// The picture file opened as the existence test opens it: for reading,
// shared with nobody.
HANDLE openPictureFile(const char* path) {
    return CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool copyDescrambled(HANDLE in, HANDLE out) {
    PictureKey key = makePictureKey();
    std::uint8_t buffer[kCopyChunk];
    std::size_t offset = 0;
    DWORD n = 0;
    while (ReadFile(in, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        descrambleBytes(buffer, n, offset, key.data(), key.size());
        DWORD written = 0;
        if (!WriteFile(out, buffer, n, &written, nullptr) || written != n) return false;
        offset += n;
    }
    return true;
}

// Writes the descrambled content of an open picture file to path + "buf".
bool descrambleFileToTemp(HANDLE source, const char* path, char* tempPath, std::size_t tempPathSize) {
    std::size_t length = std::strlen(path);
    if (length + sizeof kTempSuffix > tempPathSize) return false;  // the name would not fit
    std::memcpy(tempPath, path, length);
    std::memcpy(tempPath + length, kTempSuffix, sizeof kTempSuffix);
    OwnedFile out(CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!out.valid()) return false;  // a read-only folder, say
    bool ok = copyDescrambled(source, out.get());
    ok = CloseHandle(out.release()) && ok;  // a failed close can lose written bytes
    if (!ok) DeleteFileA(tempPath);
    return ok;
}

}  // namespace

void formatPicturePath(char* out, std::size_t size, int32_t id, PictureKind kind) {
    std::snprintf(out, size, "image/food_image/%03d%d", static_cast<int>(id), static_cast<int>(kind));
}

Decoder loadDecoder(const char* library) {
    Decoder decoder;
    decoder.module.reset(LoadLibraryA(library));
    if (decoder.module.valid())
        decoder.load = reinterpret_cast<DecoderLoad>(
            reinterpret_cast<void*>(GetProcAddress(decoder.module.get(), kDecoderExport)));
    return decoder;
}

int32_t decodePicture(const char* path, Picture* picture, DecoderLoad decoder) {
    *picture = Picture{};
    if (!decoder) return 0;
    char tempPath[kTempPathBufferSize];
    {
        // One open serves as the existence test and as the source of the copy.
        OwnedFile source(openPictureFile(path));
        if (!source.valid() || !descrambleFileToTemp(source.get(), path, tempPath, sizeof tempPath)) return 0;
    }
    void* decoded = decoder(tempPath);
    DeleteFileA(tempPath);  // the decoder has closed it
    if (!decoded) return 0;

    DecodedImageHeader size;
    std::memcpy(&size, decoded, sizeof size);
    // The decoder is a separate library: its sizes are held to the same
    // budget before they decide an allocation.
    if (!withinPictureBudget(size.width, size.height)) {
        GlobalFree(decoded);
        return 0;
    }
    std::size_t pixelBytes = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) * 4;
    void* block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, pixelBytes + kPictureHeaderBytes);
    if (!block) {
        GlobalFree(decoded);
        return 0;
    }
    auto* header = static_cast<BITMAPINFOHEADER*>(block);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = size.width;
    header->biHeight = size.height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    picture->info = block;
    picture->pixels = static_cast<char*>(block) + kPictureHeaderBytes;
    picture->width = size.width;
    picture->height = size.height;
    std::memcpy(picture->pixels, static_cast<const char*>(decoded) + kDecodedPixelsOffset, pixelBytes);
    GlobalFree(decoded);
    return 1;
}

void freePicture(Picture* picture) {
    if (picture->info) GlobalFree(picture->info);
    *picture = Picture{};
}

void decodeEntryPicture(int32_t id, PictureKind kind, Picture* picture, DecoderLoad decoder) {
    char path[64];
    formatPicturePath(path, sizeof path, id, kind);
    decodePicture(path, picture, decoder);
    if (!picture->info) decodePicture(kFallbackPicturePath, picture, decoder);
}

void drawPicture(HDC dc, const Picture& picture, int x, int y, int width, int height) {
    if (!picture.info) return;
    StretchDIBits(dc, x, y, width, height, 0, 0, picture.width, picture.height, picture.pixels,
                  static_cast<const BITMAPINFO*>(picture.info), DIB_RGB_COLORS, SRCCOPY);
}

void drawEntryPicture(HDC dc, int32_t id, PictureKind kind, DecoderLoad decoder, int x, int y, int width, int height) {
    Picture picture;
    decodeEntryPicture(id, kind, &picture, decoder);
    drawPicture(dc, picture, x, y, width, height);  // draws nothing when info is null
    freePicture(&picture);
}
