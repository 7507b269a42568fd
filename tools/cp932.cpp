#include "tools/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

std::size_t utf8SequenceLength(unsigned char b) {
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 1;
}

std::optional<std::string> convert(const char* to, const char* from, const std::string& in, bool inputIsUtf8,
                                   std::string* bad) {
    iconv_t cd = iconv_open(to, from);
    // iconv_open reports failure as (iconv_t)-1: the cast is its API's.
    if (cd == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
        if (bad) *bad = std::string("iconv cannot convert ") + from + " to " + to;
        return std::nullopt;
    }
    std::string out(in.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) {
        if (bad) {
            auto b = static_cast<unsigned char>(*inPtr);
            std::size_t n = inputIsUtf8 ? utf8SequenceLength(b) : (b >= 0x80 && inLeft > 1 ? 2 : 1);
            std::string what(inPtr, std::min(n, inLeft));
            if (!inputIsUtf8) {
                what.clear();
                for (std::size_t i = 0; i < std::min(n, inLeft); ++i) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "%s0x%02X", i ? " " : "", static_cast<unsigned char>(inPtr[i]));
                    what += hex;
                }
            }
            *bad = what;
        }
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::optional<std::string> utf8ToCp932(const std::string& utf8, std::string* bad) {
    return convert("CP932", "UTF-8", utf8, true, bad);
}

std::optional<std::string> cp932ToUtf8(const std::string& sjis, std::string* bad) {
    return convert("UTF-8", "CP932", sjis, false, bad);
}
