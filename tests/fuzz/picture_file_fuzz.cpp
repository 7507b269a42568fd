#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data/scramble.h"
#include "jload/picture_header.h"

// The input is a scrambled picture file as the viewer finds it on disk. It is
// descrambled in uneven chunks, as the copy to the temporary file reads it,
// and the decoder's header check judges the result. A picture the check
// accepts must keep within the budget, and uncompressed BMP pixels within
// the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PictureKey key = makePictureKey();
    std::vector<std::uint8_t> whole(data, data + size);
    descrambleBytes(whole.data(), whole.size(), 0, key.data(), key.size());
    std::vector<std::uint8_t> chunked(data, data + size);
    std::size_t chunk = size ? 1 + data[0] % 61 : 1;
    for (std::size_t at = 0; at < size; at += chunk) {
        std::size_t n = size - at < chunk ? size - at : chunk;
        descrambleBytes(chunked.data() + at, n, at, key.data(), key.size());
    }
    if (whole != chunked) __builtin_trap();

    // Only the probe's worth of bytes is read from the file, in a block of
    // exactly that size.
    std::size_t headBytes = size < kPictureProbeBytes ? size : kPictureProbeBytes;
    std::vector<std::uint8_t> head(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(headBytes));
    PictureHeader header = checkPictureHeader(head.data(), head.size(), size);
    if (header.verdict != PictureVerdict::accepted) return 0;
    if (header.format == PictureFormat::unknown || header.width == 0 || header.height == 0 ||
        header.width > static_cast<std::uint32_t>(kMaxPictureSide) ||
        header.height > static_cast<std::uint32_t>(kMaxPictureSide) ||
        std::uint64_t{header.width} * header.height > kMaxPicturePixels)
        __builtin_trap();
    return 0;
}
