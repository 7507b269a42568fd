// The picture decoder behind jload.dll, built on the Windows Imaging Component
// so that no image library has to ship with the viewer.
#include "jload/jload.h"

#include "jload/com_owner.h"
#include "jload/picture_header.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Owns a GlobalAlloc block until it is handed to the caller.
class GlobalBlock {
public:
    explicit GlobalBlock(size_t bytes) : block_(GlobalAlloc(GMEM_FIXED, bytes)) {}
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock() {
        if (block_) GlobalFree(block_);
    }
    // With GMEM_FIXED the handle is the address.
    unsigned char* data() const { return static_cast<unsigned char*>(static_cast<void*>(block_)); }
    void* release() { return std::exchange(block_, nullptr); }

private:
    HGLOBAL block_;
};

std::vector<wchar_t> widePath(const char* path) {
    // Invalid bytes fail the conversion instead of turning into '?', which
    // could otherwise name a different file.
    int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 1) return {};
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length) != length) return {};
    return wide;
}

// Reverses the row order in place: WIC hands rows out top-down, the block
// holds them bottom-up.
void flipRows(unsigned char* pixels, size_t rowBytes, size_t rows) {
    std::vector<unsigned char> spare(rowBytes);
    for (size_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        unsigned char* upper = pixels + top * rowBytes;
        unsigned char* lower = pixels + bottom * rowBytes;
        std::memcpy(spare.data(), upper, rowBytes);
        std::memcpy(upper, lower, rowBytes);
        std::memcpy(lower, spare.data(), rowBytes);
    }
}

// Creating imaging objects through COM, or letting WIC pick a decoder for a
// file name, looks the codecs up in the registry on every call, and that
// lookup costs more than decoding one of the viewer's small pictures. The
// codecs live in windowscodecs.dll, so their class objects are taken from it
// directly; COM's own lookup remains the fallback.
using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

GetClassObject codecClassObjects() {
    // Loaded once and kept for the life of this library.
    static const GetClassObject get = [] {
        HMODULE codecs = LoadLibraryA("windowscodecs.dll");
        return codecs ? reinterpret_cast<GetClassObject>(
                            reinterpret_cast<void*>(GetProcAddress(codecs, "DllGetClassObject")))
                      : nullptr;
    }();
    return get;
}

template <typename T>
HRESULT createCodecObject(REFCLSID clsid, REFIID iid, ComOwner<T>& object) {
    if (GetClassObject get = codecClassObjects()) {
        ComOwner<IClassFactory> classFactory;
        if (SUCCEEDED(get(clsid, IID_IClassFactory, classFactory.putVoid())) &&
            SUCCEEDED(classFactory->CreateInstance(nullptr, iid, object.putVoid())))
            return S_OK;
    }
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.putVoid());
}

const CLSID* decoderFor(PictureFormat format) {
    switch (format) {
    case PictureFormat::png:
        return &CLSID_WICPngDecoder;
    case PictureFormat::jpeg:
        return &CLSID_WICJpegDecoder;
    case PictureFormat::bmp:
        return &CLSID_WICBmpDecoder;
    case PictureFormat::unknown:
        break;
    }
    return nullptr;
}

// Opens the file as a stream and reads the picture's size from its header
// before any decoder sees it: some decoders inflate the whole picture as soon
// as they are initialised, so a small file that declares a huge picture must
// be turned away here, not after the decode. Only formats whose header can be
// judged this way are decoded; the decoder is the one the header names.
HRESULT openDecoder(const wchar_t* path, IWICImagingFactory* factory, ComOwner<IWICStream>& stream,
                    ComOwner<IWICBitmapDecoder>& decoder) {
    if (FAILED(factory->CreateStream(stream.put())) || FAILED(stream->InitializeFromFilename(path, GENERIC_READ)))
        return E_FAIL;
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER end = {};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_END, &end)) || FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr)))
        return E_FAIL;
    std::vector<unsigned char> head(static_cast<size_t>(std::min<ULONGLONG>(end.QuadPart, kPictureProbeBytes)));
    ULONG got = 0;
    if (!head.empty() && FAILED(stream->Read(head.data(), static_cast<ULONG>(head.size()), &got))) return E_FAIL;
    PictureHeader header = checkPictureHeader(head.data(), got, end.QuadPart);
    if (header.verdict != PictureVerdict::accepted) return E_FAIL;
    if (FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr))) return E_FAIL;
    if (FAILED(createCodecObject(*decoderFor(header.format), IID_IWICBitmapDecoder, decoder))) return E_FAIL;
    return decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand);
}

// The frame's own idea of its size, checked against the same budget before
// anything is allocated for its pixels.
bool withinBudget(UINT width, UINT height) { return withinPictureBudget(width, height); }

void* decode(const wchar_t* path) {
    // Declared first so that it is left last, after every object below has
    // been released (which also closes the file).
    ComApartment apartment;
    if (!apartment.usable()) return nullptr;

    ComOwner<IWICImagingFactory> factory;
    if (FAILED(createCodecObject(CLSID_WICImagingFactory, IID_IWICImagingFactory, factory))) return nullptr;

    // The stream holds the file open; it is released with the decoder.
    ComOwner<IWICStream> stream;
    ComOwner<IWICBitmapDecoder> decoder;
    if (FAILED(openDecoder(path, factory.get(), stream, decoder))) return nullptr;

    ComOwner<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return nullptr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || !withinBudget(width, height)) return nullptr;

    ComOwner<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put()))) return nullptr;
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;

    UINT convertedWidth = 0;
    UINT convertedHeight = 0;
    if (FAILED(converter->GetSize(&convertedWidth, &convertedHeight)) || convertedWidth != width ||
        convertedHeight != height)
        return nullptr;

    // The budget already keeps this far from overflowing, but the block size
    // is checked on its own so the limits can change safely. CopyPixels
    // takes its stride and buffer size as UINT, so those bound it too.
    constexpr size_t kBytesPerPixel = 4;
    constexpr size_t kUintMax = std::numeric_limits<UINT>::max();
    size_t rowBytes = static_cast<size_t>(width) * kBytesPerPixel;
    if (rowBytes / kBytesPerPixel != width || rowBytes > kUintMax) return nullptr;
    if (height > kUintMax / rowBytes) return nullptr;
    size_t pixelBytes = rowBytes * height;
    if (pixelBytes > std::numeric_limits<size_t>::max() - sizeof(DecodedImageHeader)) return nullptr;

    GlobalBlock block(sizeof(DecodedImageHeader) + pixelBytes);
    if (!block.data()) return nullptr;
    DecodedImageHeader header{static_cast<int32_t>(width), static_cast<int32_t>(height)};
    std::memcpy(block.data(), &header, sizeof header);
    unsigned char* pixels = block.data() + sizeof(DecodedImageHeader);

    // One CopyPixels call for the whole picture: it is where a truncated or
    // damaged file finally fails, and per-row calls would make some decoders
    // do their work again for every row.
    if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(rowBytes), static_cast<UINT>(pixelBytes), pixels)))
        return nullptr;
    flipRows(pixels, rowBytes, height);
    return block.release();
}

}  // namespace

extern "C" __declspec(dllexport) void* load(const char* path);
static_assert(std::is_same_v<decltype(&load), DecoderLoad>, "load has the signature the header promises");

extern "C" __declspec(dllexport) void* load(const char* path) {
    if (!path) return nullptr;
    // Nothing may unwind into the caller, which may not even be C++.
    try {
        std::vector<wchar_t> wide = widePath(path);
        if (wide.empty()) return nullptr;
        return decode(wide.data());
    } catch (...) {
        return nullptr;
    }
}
