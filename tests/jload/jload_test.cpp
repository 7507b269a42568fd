// Tests for jload.dll, loaded the way the viewer loads it: LoadLibraryA and
// GetProcAddress("load"). The pictures are encoded here with WIC's own
// encoders from known pixels, so no binary fixtures are kept.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/picture.h"
#include "jload/com_owner.h"
#include "jload/jload.h"

namespace {

struct GlobalFreeDeleter {
    void operator()(void* block) const { GlobalFree(block); }
};
using Block = std::unique_ptr<void, GlobalFreeDeleter>;

// Known pixels, top row first, 3 bytes each (blue, green, red).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;

    const uint8_t* at(int x, int y) const { return &bgr[(static_cast<size_t>(y) * width + x) * 3]; }
};

enum class Pattern { distinct, flat, noise };

Picture makePicture(int width, int height, Pattern pattern) {
    Picture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<uint8_t>(seed >> 24);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &picture.bgr[(static_cast<size_t>(y) * width + x) * 3];
            switch (pattern) {
            case Pattern::distinct:
                // Every pixel and every channel different, so a swapped row,
                // column or channel shows.
                p[0] = static_cast<uint8_t>(10 + 40 * x + 7 * y);
                p[1] = static_cast<uint8_t>(100 + 30 * y + 3 * x);
                p[2] = static_cast<uint8_t>(200 - 20 * x - 50 * y);
                break;
            case Pattern::flat:
                p[0] = 40, p[1] = 140, p[2] = 220;
                break;
            case Pattern::noise:
                p[0] = next(), p[1] = next(), p[2] = next();
                break;
            }
        }
    }
    return picture;
}

enum class Format { png, jpeg, bmp };
const char* const kExtensions[] = {".png", ".jpg", ".bmp"};
const char* extensionOf(Format format) { return kExtensions[static_cast<int>(format)]; }
const GUID& containerOf(Format format) {
    const GUID* const containers[] = {&GUID_ContainerFormatPng, &GUID_ContainerFormatJpeg, &GUID_ContainerFormatBmp};
    return *containers[static_cast<int>(format)];
}

std::wstring toWide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

HRESULT writePicture(const Picture& picture, Format format, const std::string& path) {
    ComApartment com(COINIT_MULTITHREADED);
    if (!com.usable()) return com.result();
    ComOwner<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.putVoid());
    if (FAILED(hr)) return hr;
    ComOwner<IWICBitmap> bitmap;
    UINT stride = static_cast<UINT>(picture.width) * 3;
    hr = factory->CreateBitmapFromMemory(picture.width, picture.height, GUID_WICPixelFormat24bppBGR, stride,
                                         static_cast<UINT>(picture.bgr.size()), const_cast<BYTE*>(picture.bgr.data()),
                                         bitmap.put());
    if (FAILED(hr)) return hr;
    // Every object holding the file is released before this returns, so the
    // file is complete and closed for the test.
    ComOwner<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.put()))) return hr;
    if (FAILED(hr = stream->InitializeFromFilename(toWide(path).c_str(), GENERIC_WRITE))) return hr;
    ComOwner<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(containerOf(format), nullptr, encoder.put()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return hr;
    ComOwner<IWICBitmapFrameEncode> frame;
    ComOwner<IPropertyBag2> options;
    if (FAILED(hr = encoder->CreateNewFrame(frame.put(), options.put()))) return hr;
    if (format == Format::jpeg) {
        PROPBAG2 option{};
        option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = 0.85f;
        if (FAILED(hr = options->Write(1, &option, &value))) return hr;
    }
    if (FAILED(hr = frame->Initialize(options.get()))) return hr;
    if (FAILED(hr = frame->SetSize(picture.width, picture.height))) return hr;
    WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&pixelFormat))) return hr;
    if (FAILED(hr = frame->WriteSource(bitmap.get(), nullptr))) return hr;
    if (FAILED(hr = frame->Commit())) return hr;
    return encoder->Commit();
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One folder per run under %TEMP%, removed when the run ends.
struct TempFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("jload_test_" + std::to_string(GetCurrentProcessId()));
    TempFolder() { std::filesystem::create_directories(path); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path.string() + "\\" + name; }
};

TempFolder& tempFolder() {
    static TempFolder folder;
    return folder;
}

// The DLL is found in stage\ next to the test executable (the build tree), or
// right beside it; it stays loaded for the whole run.
DecoderLoad jload() {
    static Decoder decoder = [] {
        char exe[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string folder(exe);
        folder.resize(folder.find_last_of("\\/") + 1);
        Decoder found = loadDecoder((folder + "stage\\jload.dll").c_str());
        return found.load ? std::move(found) : loadDecoder((folder + "jload.dll").c_str());
    }();
    return decoder.load;
}

Block loadBlock(const std::string& path) { return Block(jload()(path.c_str())); }

DecodedImageHeader headerOf(const Block& block) {
    DecodedImageHeader header;
    std::memcpy(&header, block.get(), sizeof header);
    return header;
}

// A decoded pixel, counting rows from the bottom as the block stores them.
const uint8_t* pixelOf(const Block& block, int x, int rowFromBottom) {
    int32_t width = headerOf(block).width;
    return static_cast<const uint8_t*>(block.get()) + sizeof(DecodedImageHeader) +
           (static_cast<size_t>(rowFromBottom) * width + x) * 4;
}

class JloadTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(jload(), nullptr) << "jload.dll or its export \"load\" not found"; }
};

// ---- Pictures that must decode ------------------------------------------

struct DecodeCase {
    const char* name;
    Format format;
    int width;
    int height;
    Pattern pattern;
    int tolerance;  // largest difference per channel; 0 for lossless formats
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class JloadDecodes : public JloadTest, public testing::WithParamInterface<DecodeCase> {};

TEST_P(JloadDecodes, GivesSizeAndPixelsBottomRowFirstAndClosesTheFile) {
    const DecodeCase& c = GetParam();
    Picture picture = makePicture(c.width, c.height, c.pattern);
    std::string path = tempFolder().file(std::string(c.name) + extensionOf(c.format));
    ASSERT_EQ(writePicture(picture, c.format, path), S_OK);

    Block block = loadBlock(path);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file is still open, error " << GetLastError();
    ASSERT_NE(block, nullptr);
    DecodedImageHeader header = headerOf(block);
    ASSERT_EQ(header.width, c.width);
    ASSERT_EQ(header.height, c.height);
    EXPECT_GE(GlobalSize(block.get()), sizeof header + static_cast<size_t>(c.width) * c.height * 4);

    int worst = 0;
    int mismatches = 0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const uint8_t* want = picture.at(x, y);
            const uint8_t* got = pixelOf(block, x, c.height - 1 - y);
            for (int channel = 0; channel < 3; ++channel) {
                int difference = std::abs(want[channel] - got[channel]);
                worst = std::max(worst, difference);
                if (difference > c.tolerance && ++mismatches <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " (top-down) channel " << channel << ": want "
                                  << int(want[channel]) << ", got " << int(got[channel]);
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "worst difference " << worst;
}

const DecodeCase kDecodeCases[] = {
    {"png_7x5", Format::png, 7, 5, Pattern::distinct, 0},
    {"bmp_5x3", Format::bmp, 5, 3, Pattern::distinct, 0},  // 24-bit rows padded in the file
    {"jpeg_37x23", Format::jpeg, 37, 23, Pattern::flat, 8},
    {"png_at_the_pixel_budget", Format::png, 640, 480, Pattern::noise, 0},
    {"png_widest", Format::png, kMaxPictureSide, 1, Pattern::noise, 0},
    {"png_tallest", Format::png, 1, kMaxPictureSide, Pattern::noise, 0},
};

INSTANTIATE_TEST_SUITE_P(Formats, JloadDecodes, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

// ---- Files that must give null ----------------------------------------

std::string pngBytes(const Picture& picture, const std::string& scratch) {
    if (writePicture(picture, Format::png, scratch) != S_OK) return {};
    std::string bytes = readBytes(scratch);
    DeleteFileA(scratch.c_str());
    return bytes;
}

// A 118-byte BMP whose header claims 16384 x 16384 pixels of 24 bits: 768 MiB
// of rows that cannot be in the file.
std::string bmpBomb() {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = 118;
    info.biSize = sizeof info;
    info.biWidth = 16384;
    info.biHeight = 16384;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.resize(118, '\x40');
    return bytes;
}

struct RejectCase {
    const char* name;
    // Writes the file (or nothing, for a missing one); returns false if it
    // could not be made.
    bool (*make)(const std::string& path);
};

void PrintTo(const RejectCase& c, std::ostream* out) { *out << c.name; }

const RejectCase kRejectCases[] = {
    {"missing", [](const std::string&) { return true; }},
    {"empty", [](const std::string& path) { return writeBytes(path, ""); }},
    {"text",
     [](const std::string& path) {
         return writeBytes(path, "This is not a picture.\r\nJust a few lines of text.\r\n");
     }},
    {"png_truncated_to_half",
     [](const std::string& path) {
         std::string bytes = pngBytes(makePicture(64, 64, Pattern::noise), path);
         return !bytes.empty() && writeBytes(path, bytes.substr(0, bytes.size() / 2));
     }},
    {"png_signature_only",
     [](const std::string& path) {
         std::string bytes = pngBytes(makePicture(3, 2, Pattern::distinct), path);
         return !bytes.empty() && writeBytes(path, bytes.substr(0, 8));
     }},
    {"png_with_damaged_pixel_data",
     [](const std::string& path) {
         std::string bytes = pngBytes(makePicture(64, 64, Pattern::noise), path);
         size_t data = bytes.find("IDAT");
         if (data == std::string::npos || data + 8 + 64 > bytes.size()) return false;
         // Overwrites the compressed stream just after its zlib header; the
         // chunk checksum no longer matches either.
         for (size_t i = data + 8; i < data + 8 + 64; ++i) bytes[i] = '\xA5';
         return writeBytes(path, bytes);
     }},
    {"png_over_the_pixel_budget",
     [](const std::string& path) {
         return writePicture(makePicture(641, 480, Pattern::flat), Format::png, path) == S_OK;
     }},
    {"bmp_missing_its_last_row",
     [](const std::string& path) {
         std::string bytes;
         if (writePicture(makePicture(5, 3, Pattern::distinct), Format::bmp, path) == S_OK) bytes = readBytes(path);
         return bytes.size() > 16 && writeBytes(path, bytes.substr(0, bytes.size() - 16));
     }},
    {"png_too_wide",
     [](const std::string& path) {
         return writePicture(makePicture(kMaxPictureSide + 1, 1, Pattern::flat), Format::png, path) == S_OK;
     }},
    {"png_too_tall",
     [](const std::string& path) {
         return writePicture(makePicture(1, kMaxPictureSide + 1, Pattern::flat), Format::png, path) == S_OK;
     }},
    // 118 bytes whose header claims 16384 x 16384 pixels of 24 bits.
    {"bmp_declaring_768_mib", [](const std::string& path) { return writeBytes(path, bmpBomb()); }},
};

class JloadRejects : public JloadTest, public testing::WithParamInterface<RejectCase> {};

TEST_P(JloadRejects, GivesNullAndClosesTheFile) {
    const RejectCase& c = GetParam();
    std::string path = tempFolder().file(std::string(c.name) + ".png");
    ASSERT_TRUE(c.make(path));
    bool exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;

    Block block = loadBlock(path);
    if (exists) {
        EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file is still open, error " << GetLastError();
    }
    EXPECT_EQ(block, nullptr);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, JloadRejects, testing::ValuesIn(kRejectCases),
                         [](const testing::TestParamInfo<RejectCase>& info) { return std::string(info.param.name); });

TEST_F(JloadTest, NullEmptyOrFolderPathGivesNull) {
    EXPECT_EQ(jload()(nullptr), nullptr);
    EXPECT_EQ(jload()(""), nullptr);
    std::string folder = tempFolder().file("a_folder.png");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(loadBlock(folder), nullptr);
}

// ---- The caller's COM state -------------------------------------------

struct ComCallerCase {
    const char* name;
    DWORD mode;
};

void PrintTo(const ComCallerCase& c, std::ostream* out) { *out << c.name; }

class JloadComCaller : public JloadTest, public testing::WithParamInterface<ComCallerCase> {};

// A caller that already lives in an apartment, of either kind, is served and
// keeps its apartment: COM still works and the apartment kind is unchanged.
TEST_P(JloadComCaller, DecodesAndLeavesTheCallersApartmentAlone) {
    const ComCallerCase& c = GetParam();
    ASSERT_EQ(CoInitializeEx(nullptr, c.mode), S_OK);
    std::string path = tempFolder().file(std::string("com_") + c.name + ".png");
    ASSERT_EQ(writePicture(makePicture(3, 2, Pattern::distinct), Format::png, path), S_OK);

    Block block = loadBlock(path);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(headerOf(block).width, 3);
    EXPECT_EQ(headerOf(block).height, 2);

    // Same mode again counts once more (S_FALSE); the other mode is refused,
    // so the thread is still in the caller's apartment.
    DWORD otherMode = c.mode == COINIT_APARTMENTTHREADED ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED;
    EXPECT_EQ(CoInitializeEx(nullptr, otherMode), RPC_E_CHANGED_MODE);
    ASSERT_EQ(CoInitializeEx(nullptr, c.mode), S_FALSE);
    CoUninitialize();
    ComOwner<IWICImagingFactory> factory;
    EXPECT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                               factory.putVoid()),
              S_OK);
    factory.put();  // released while COM is still up
    CoUninitialize();
}

INSTANTIATE_TEST_SUITE_P(Apartments, JloadComCaller,
                         testing::Values(ComCallerCase{"sta", COINIT_APARTMENTTHREADED},
                                         ComCallerCase{"mta", COINIT_MULTITHREADED}),
                         [](const testing::TestParamInfo<ComCallerCase>& info) {
                             return std::string(info.param.name);
                         });

// A caller without COM is left without COM: load balances its own entry.
TEST_F(JloadTest, CallerWithoutComIsLeftWithoutCom) {
    std::string path = tempFolder().file("no_com.png");
    ASSERT_EQ(writePicture(makePicture(3, 2, Pattern::distinct), Format::png, path), S_OK);
    Block block = loadBlock(path);
    EXPECT_NE(block, nullptr);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(hr, S_OK) << "load left COM initialised on this thread";
    if (SUCCEEDED(hr)) CoUninitialize();
}

// The path arrives in the ANSI code page; under the Japanese locale the test
// runs in, that is Shift-JIS.
TEST_F(JloadTest, DecodesAPathInTheAnsiCodePage) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932, this is " << GetACP();
    std::string path = tempFolder().file("画像テスト.png");  // CP932 bytes in this build
    ASSERT_EQ(writePicture(makePicture(3, 2, Pattern::distinct), Format::png, path), S_OK);
    ASSERT_NE(GetFileAttributesW(toWide(path).c_str()), INVALID_FILE_ATTRIBUTES);
    Block block = loadBlock(path);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(headerOf(block).width, 3);
}

}  // namespace
