// make_icon: writes the window icon (one 32 x 32, 16-colour image) from its
// text source, resources/icon.txt.
//   make_icon icon.txt viewer.ico
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_icon icon.txt out.ico\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot open\n";
        return 1;
    }
    std::array<std::array<std::uint8_t, 4>, 16> palette{};  // blue, green, red, 0
    std::vector<std::string> rows;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("palette ", 0) == 0) {
            std::istringstream fields(line.substr(8));
            std::string index;
            int r = -1, g = -1, b = -1;
            fields >> index >> r >> g >> b;
            int i = index.size() == 1 ? hexValue(index[0]) : -1;
            if (i < 0 || r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) {
                std::cerr << argv[1] << ":" << lineNo << ": bad palette line\n";
                return 1;
            }
            palette[i] = {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r), 0};
            continue;
        }
        if (line.size() != kSize) {
            std::cerr << argv[1] << ":" << lineNo << ": a row must have " << kSize << " pixels\n";
            return 1;
        }
        for (char c : line)
            if (c != '.' && hexValue(c) < 0) {
                std::cerr << argv[1] << ":" << lineNo << ": '" << c << "' is neither '.' nor a palette index\n";
                return 1;
            }
        rows.push_back(line);
    }
    if (rows.size() != kSize) {
        std::cerr << argv[1] << ": " << rows.size() << " rows, not " << kSize << "\n";
        return 1;
    }

    const unsigned xorBytes = kSize * kSize / 2, andBytes = kSize * 4;
    const unsigned imageBytes = 40 + 16 * 4 + xorBytes + andBytes;
    std::string ico;
    put16(ico, 0);  // ICONDIR
    put16(ico, 1);
    put16(ico, 1);
    ico += static_cast<char>(kSize);  // ICONDIRENTRY
    ico += static_cast<char>(kSize);
    ico += static_cast<char>(16);
    ico += '\0';
    put16(ico, 1);
    put16(ico, 4);
    put32(ico, imageBytes);
    put32(ico, 6 + 16);
    put32(ico, 40);  // BITMAPINFOHEADER: the height counts the colour and mask images
    put32(ico, kSize);
    put32(ico, kSize * 2);
    put16(ico, 1);
    put16(ico, 4);
    put32(ico, 0);
    put32(ico, xorBytes + andBytes);
    for (int i = 0; i < 4; ++i) put32(ico, 0);
    for (const auto& colour : palette) ico.append(reinterpret_cast<const char*>(colour.data()), 4);
    for (int y = kSize - 1; y >= 0; --y)  // colour image, bottom-up, two pixels a byte
        for (int x = 0; x < kSize; x += 2) {
            auto nibble = [&](char c) { return c == '.' ? 0 : hexValue(c); };
            ico += static_cast<char>(nibble(rows[y][x]) << 4 | nibble(rows[y][x + 1]));
        }
    for (int y = kSize - 1; y >= 0; --y)  // mask, bottom-up: 1 is transparent
        for (int x = 0; x < kSize; x += 8) {
            unsigned bits = 0;
            for (int b = 0; b < 8; ++b) bits = bits << 1 | (rows[y][x + b] == '.' ? 1u : 0u);
            ico += static_cast<char>(bits);
        }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (!out.write(ico.data(), static_cast<std::streamsize>(ico.size()))) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
