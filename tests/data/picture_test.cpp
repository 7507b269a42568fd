#include "data/picture.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "data/food_entry.h"
#include "data/scramble.h"
#include "tests/support/viewer_fixture.h"

namespace {

namespace fs = std::filesystem;

// A decoder that records what it was given and answers with a 3 x 2 picture.
struct FakeDecoder {
    static inline std::string lastPath;
    static inline std::string lastContent;
    static inline int calls = 0;
    static inline int32_t width = 3;
    static inline int32_t height = 2;
    static inline bool fail = false;

    static void reset() {
        lastPath.clear();
        lastContent.clear();
        calls = 0;
        width = 3;
        height = 2;
        fail = false;
    }
    static void* load(const char* path) {
        ++calls;
        lastPath = path;
        std::FILE* f = std::fopen(path, "rb");
        lastContent.clear();
        if (f) {
            int c;
            while ((c = std::fgetc(f)) != EOF) lastContent += static_cast<char>(c);
            std::fclose(f);
        }
        if (fail) return nullptr;
        std::size_t pixels = width > 0 && height > 0 && width < 100 && height < 100 ? width * height * 4 : 0;
        auto* block = static_cast<unsigned char*>(GlobalAlloc(GMEM_FIXED, kDecodedPixelsOffset + pixels));
        std::memcpy(block, &width, 4);
        std::memcpy(block + 4, &height, 4);
        for (std::size_t i = 0; i < pixels; ++i) block[kDecodedPixelsOffset + i] = static_cast<unsigned char>(i + 1);
        return block;
    }
};

void writeScrambledPicture(const std::string& path, std::string plain) {
    fs::create_directories(fs::path(path).parent_path());
    PictureKey key = makePictureKey();
    scrambleBytes(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size(), 0, key.data(), key.size());
    writeFile(path, plain);
}

bool anyTempLeft() {
    std::error_code ec;
    for (const auto& item : fs::recursive_directory_iterator(".", ec))
        if (item.path().filename().string().ends_with("buf")) return true;
    return false;
}

class PictureTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        FakeDecoder::reset();
        state.decoderLoad = &FakeDecoder::load;
    }
    void TearDown() override {
        state.decoderLoad = nullptr;
        ViewerTest::TearDown();
    }
};

TEST_F(PictureTest, PathsOfThePictureFiles) {
    char path[64];
    formatPicturePath(path, sizeof path, 7, PictureKind::ingredient);
    EXPECT_STREQ(path, "image/food_image/0071");
    formatPicturePath(path, sizeof path, 126, PictureKind::dish);
    EXPECT_STREQ(path, "image/food_image/1262");
}

TEST_F(PictureTest, DecodesThroughADescrambledTemporaryFile) {
    std::string plain = "picture bytes, longer than the twenty-seven byte key, to check the key restarts";
    writeScrambledPicture("image/food_image/0071", plain);
    Picture picture;
    EXPECT_EQ(loadPicture("image/food_image/0071", &picture, &state), 1);
    EXPECT_EQ(FakeDecoder::lastPath, "image/food_image/0071buf");
    EXPECT_EQ(FakeDecoder::lastContent, plain);
    EXPECT_FALSE(anyTempLeft());
    ASSERT_NE(picture.info, nullptr);
    EXPECT_GE(GlobalSize(picture.info), 68u) << "44 header bytes and 24 pixel bytes";
    const auto* bytes = static_cast<const unsigned char*>(picture.info);
    BITMAPINFOHEADER expected = {};
    expected.biSize = 40;
    expected.biWidth = 3;
    expected.biHeight = 2;
    expected.biPlanes = 1;
    expected.biBitCount = 32;
    EXPECT_EQ(std::memcmp(bytes, &expected, 40), 0) << "every other header field is 0";
    EXPECT_EQ(std::memcmp(bytes + 40, "\0\0\0\0", 4), 0) << "the colour entry is 0";
    EXPECT_EQ(picture.pixels, bytes + 44);
    for (int i = 0; i < 24; ++i) ASSERT_EQ(bytes[44 + i], i + 1) << "copied byte for byte";
    freePicture(&picture);
    EXPECT_EQ(picture.info, nullptr);
}

TEST_F(PictureTest, FailuresLeaveNoPictureAndNoTemporaryFile) {
    writeScrambledPicture("image/food_image/0071", "x");
    Picture picture;
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* path;
    } cases[] = {
        {"missing file", [] {}, "image/food_image/0991"},
        {"no decoder", [this] { state.decoderLoad = nullptr; }, "image/food_image/0071"},
        {"decoder fails", [] { FakeDecoder::fail = true; }, "image/food_image/0071"},
        {"absurd size", [] { FakeDecoder::width = 1 << 20; }, "image/food_image/0071"},
        {"negative size", [] { FakeDecoder::height = -2; }, "image/food_image/0071"},
        {"temporary file cannot be made", [] { fs::create_directories("image/food_image/0071buf"); },
         "image/food_image/0071"},
    };
    for (const Case& c : cases) {
        FakeDecoder::reset();
        state.decoderLoad = &FakeDecoder::load;
        c.arrange();
        picture.info = reinterpret_cast<void*>(1);
        EXPECT_EQ(loadPicture(c.path, &picture, &state), 0) << c.what;
        EXPECT_EQ(picture.info, nullptr) << c.what;
        fs::remove("image/food_image/0071buf");
        EXPECT_FALSE(anyTempLeft()) << c.what;
    }
    FakeDecoder::reset();
    state.decoderLoad = &FakeDecoder::load;
    std::string longPath = "image/" + std::string(495, 'p');
    EXPECT_EQ(loadPicture(longPath.c_str(), &picture, &state), 0) << "a name that does not fit with buf";
    EXPECT_EQ(FakeDecoder::calls, 0);
}

TEST_F(PictureTest, FallsBackToTheNoPicture) {
    writeScrambledPicture("image/food_image/no", "fallback");
    Picture picture;
    loadEntryPicture(5, PictureKind::dish, &picture, &state);
    ASSERT_NE(picture.info, nullptr);
    EXPECT_EQ(FakeDecoder::lastPath, "image/food_image/nobuf");
    freePicture(&picture);
    fs::remove("image/food_image/no");
    loadEntryPicture(5, PictureKind::dish, &picture, &state);
    EXPECT_EQ(picture.info, nullptr);
}

// The real decoder library, found as the jload tests find it: in stage\ next
// to the test executable.
DecoderLoad realDecoder() {
    static DecoderLoad function = [] {
        char exe[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string folder(exe);
        folder.resize(folder.find_last_of("\\/") + 1);
        static Decoder decoder = loadDecoder((folder + "stage\\jload.dll").c_str());  // loaded for the whole run
        return decoder.load;
    }();
    return function;
}

// A scrambled 118-byte BMP claiming 16384 x 16384 pixels: the real decoder
// refuses it from its header, the fallback picture is drawn instead, and no
// temporary file stays behind.
TEST_F(PictureTest, APictureThatCannotHoldItsPixelsFallsBack) {
    state.decoderLoad = realDecoder();
    ASSERT_NE(state.decoderLoad, nullptr) << "stage\\jload.dll not found";
    std::string bomb = solidBmp(4, 4, RGB(1, 2, 3));
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(bomb.data() + sizeof(BITMAPFILEHEADER));
    info->biWidth = 16384;
    info->biHeight = 16384;
    bomb.resize(118);
    writeScrambledPicture("image/food_image/0071", bomb);
    writeScrambledPicture("image/food_image/no", solidBmp(3, 2, RGB(0x10, 0x80, 0xF0)));
    Picture picture;
    loadEntryPicture(7, PictureKind::ingredient, &picture, &state);
    ASSERT_NE(picture.info, nullptr);
    EXPECT_EQ(picture.width, 3) << "the fallback picture";
    EXPECT_EQ(picture.height, 2);
    freePicture(&picture);
    EXPECT_FALSE(anyTempLeft());
}

}  // namespace
