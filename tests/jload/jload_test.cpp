// Tests for jload.dll, loaded the way the viewer loads it: LoadLibraryA and
// GetProcAddress("load"). The pictures are encoded here with WIC's own
// encoders from known pixels, so no binary fixtures are kept.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "data/picture.h"
#include "jload/com_owner.h"
#include "jload/jload.h"

namespace {

using Block = std::unique_ptr<void, decltype(&GlobalFree)>;

enum class Format { png, jpeg, bmp };

// Known pixels, top row first, 3 bytes each (blue, green, red): one colour,
// or every pixel and channel different so that a swapped row, column or
// channel shows.
std::string knownPixels(int width, int height, bool flat) {
    std::string bgr;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bgr += static_cast<char>(flat ? 40 : 10 + 40 * x + 7 * y);
            bgr += static_cast<char>(flat ? 140 : 100 + 30 * y + 3 * x);
            bgr += static_cast<char>(flat ? 220 : 200 - 20 * x - 50 * y);
        }
    }
    return bgr;
}

// The file WIC's encoder makes of the pixels; empty when encoding fails.
std::string encode(const std::string& bgr, int width, int height, Format format) {
    const GUID* containers[] = {&GUID_ContainerFormatPng, &GUID_ContainerFormatJpeg, &GUID_ContainerFormatBmp};
    ComApartment com(COINIT_MULTITHREADED);
    ComOwner<IWICImagingFactory> factory;
    ComOwner<IWICBitmap> bitmap;
    ComOwner<IStream> stream;
    ComOwner<IWICBitmapEncoder> encoder;
    ComOwner<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat24bppBGR;
    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    bool ok = com.usable() &&
              SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                         factory.putVoid())) &&
              SUCCEEDED(factory->CreateBitmapFromMemory(
                  width, height, GUID_WICPixelFormat24bppBGR, width * 3, static_cast<UINT>(bgr.size()),
                  reinterpret_cast<BYTE*>(const_cast<char*>(bgr.data())), bitmap.put())) &&
              SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
              SUCCEEDED(factory->CreateEncoder(*containers[static_cast<int>(format)], nullptr, encoder.put())) &&
              SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&pixelFormat)) &&
              SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
              SUCCEEDED(encoder->Commit()) && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) &&
              SUCCEEDED(GetHGlobalFromStream(stream.get(), &memory));
    if (!ok) return {};
    std::string bytes(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return bytes;
}

// A file in %TEMP% that holds the bytes (no file for none). The names carry
// Shift-JIS bytes (this file is compiled to CP932), so every path the library
// gets is in the ANSI code page of the Japanese locale the tests run in.
std::string tempFile(const std::string& name, const std::string& bytes = {}) {
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = folder + ("jload_画像_" + name);
    if (!bytes.empty()) std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The DLL is found in stage\ next to the test executable; it stays loaded for
// the whole run. Without it every call fails the test.
DecoderLoad jload() {
    static Decoder decoder = [] {
        char exe[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        return loadDecoder((std::filesystem::path(exe).parent_path() / "stage" / "jload.dll").string().c_str());
    }();
    if (decoder.load) return decoder.load;
    return [](const char*) -> void* {
        ADD_FAILURE() << "stage\\jload.dll or its export \"load\" not found";
        return nullptr;
    };
}

constexpr int kRefused = -1;

// A picture of known pixels, encoded, perhaps cut short or with 4 bytes
// (little-endian) overwritten, and what load must make of it.
struct Case {
    const char* name;
    Format format;
    int width;
    int height;
    int tolerance;       // largest difference per channel, 0 for lossless formats; or kRefused
    int cut = 0;         // bytes dropped from the end
    size_t patchAt = 0;  // where the patch goes; none at 0
    uint32_t patch = 0;
};

class JloadFiles : public testing::TestWithParam<Case> {};

TEST_P(JloadFiles, GivesPixelsBottomRowFirstOrNullAndClosesTheFile) {
    const Case& c = GetParam();
    std::string bgr = knownPixels(c.width, c.height, c.format == Format::jpeg);
    std::string bytes = encode(bgr, c.width, c.height, c.format);
    ASSERT_GT(bytes.size(), c.patchAt + 4);
    if (c.patchAt > 0) std::memcpy(&bytes[c.patchAt], &c.patch, 4);
    std::string path = tempFile(c.name, bytes.substr(0, bytes.size() - c.cut));

    Block block(jload()(path.c_str()), &GlobalFree);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file is still open, error " << GetLastError();
    if (c.tolerance == kRefused) {
        EXPECT_EQ(block, nullptr);
        return;
    }
    ASSERT_NE(block, nullptr);
    DecodedImageHeader header;
    std::memcpy(&header, block.get(), sizeof header);
    ASSERT_EQ(header.width, c.width);
    ASSERT_EQ(header.height, c.height);
    ASSERT_GE(GlobalSize(block.get()), kDecodedPixelsOffset + size_t{4} * c.width * c.height);
    const auto* pixels = static_cast<const uint8_t*>(block.get()) + kDecodedPixelsOffset;
    int mismatches = 0;
    for (size_t i = 0; i < bgr.size(); ++i) {  // x, y and channel of the known pixels, top row first
        size_t x = i / 3 % c.width;
        size_t y = i / 3 / c.width;
        int want = static_cast<uint8_t>(bgr[i]);
        int got = pixels[((c.height - 1 - y) * c.width + x) * 4 + i % 3];
        if (std::abs(want - got) > c.tolerance && ++mismatches <= 5)
            ADD_FAILURE() << "pixel " << x << "," << y << " channel " << i % 3 << ": want " << want << ", got " << got;
    }
    EXPECT_EQ(mismatches, 0);
}

const Case kCases[] = {
    {"png_7x5", Format::png, 7, 5, 0},
    {"bmp_5x3", Format::bmp, 5, 3, 0},  // 24-bit rows padded in the file
    // Wider than tall, so reading the height from the width would put it over the budget.
    {"jpeg_700x8", Format::jpeg, 700, 8, 8},
    {"png_at_the_pixel_budget", Format::png, 640, 480, 0},
    {"png_widest", Format::png, kMaxPictureSide, 1, 0},
    {"png_tallest", Format::png, 1, kMaxPictureSide, 0},
    {"unknown_format", Format::png, 3, 2, kRefused, 0, 1, 0x20202020},
    {"png_header_damaged", Format::png, 3, 2, kRefused, 0, 8, 12},  // the IHDR length is no longer 13
    {"png_pixels_cut_short", Format::png, 64, 64, kRefused, 20},
    {"png_over_the_pixel_budget", Format::png, 641, 480, kRefused},
    {"png_too_wide", Format::png, kMaxPictureSide + 1, 1, kRefused},
    {"png_too_tall", Format::png, 1, kMaxPictureSide + 1, kRefused},
    {"jpeg_header_damaged", Format::jpeg, 8, 8, kRefused, 0, 2, 0},  // the marker after SOI is gone
    {"bmp_missing_its_last_row", Format::bmp, 5, 3, kRefused, 16},
    {"bmp_too_wide", Format::bmp, 5, 3, kRefused, 0, 18, kMaxPictureSide + 1},
};

INSTANTIATE_TEST_SUITE_P(Pictures, JloadFiles, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Jload, NullOrMissingFileGivesNull) {
    EXPECT_EQ(jload()(nullptr), nullptr);
    EXPECT_EQ(jload()(tempFile("missing.png").c_str()), nullptr);
}

// The viewer's thread may be in a single-threaded apartment or in none: load
// serves it either way and leaves COM on the thread as it found it.
TEST(Jload, LeavesTheCallersComStateAlone) {
    std::string path = tempFile("com.png", encode(knownPixels(3, 2, false), 3, 2, Format::png));
    for (bool callerInApartment : {false, true}) {
        ASSERT_EQ(callerInApartment ? CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) : S_OK, S_OK);
        EXPECT_NE(Block(jload()(path.c_str()), &GlobalFree), nullptr)
            << "caller in an apartment: " << callerInApartment;
        // S_FALSE: the thread is still in the caller's apartment; S_OK: COM was left.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), callerInApartment ? S_FALSE : S_OK);
        CoUninitialize();
        if (callerInApartment) CoUninitialize();
    }
    DeleteFileA(path.c_str());
}

}  // namespace
