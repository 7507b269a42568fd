#include "tools/picture_pack.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/scramble.h"
#include "jload/picture_header.h"

namespace fs = std::filesystem;

std::string pictureProblem(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    PictureHeader header = checkPictureHeader(data, std::min(bytes.size(), kPictureProbeBytes), bytes.size());
    if (header.format != PictureFormat::png) return "not a PNG picture";
    if (header.verdict == PictureVerdict::tooLarge)
        return std::to_string(header.width) + " x " + std::to_string(header.height) +
               " pixels is larger than the viewer's decoder accepts (at most " + std::to_string(kMaxPicturePixels) +
               " pixels and " + std::to_string(kMaxPictureSide) + " a side)";
    if (header.verdict != PictureVerdict::accepted) return describePictureVerdict(header.verdict);
    return {};
}

std::string pictureTargetName(const std::string& name) {
    const std::string extension = ".png";
    if (name.size() <= extension.size() || name.compare(name.size() - extension.size(), extension.size(), extension))
        return {};
    std::string stem = name.substr(0, name.size() - extension.size());
    if (stem == "no") return stem;
    bool numbered = stem.size() == 4 && (stem[3] == '1' || stem[3] == '2');
    for (std::size_t i = 0; numbered && i < 3; ++i) numbered = std::isdigit(static_cast<unsigned char>(stem[i]));
    return numbered ? stem : std::string();
}

std::vector<std::string> packPictures(const std::string& sourceDir, const std::string& outDir) {
    std::vector<std::string> problems;
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) return {outDir + ": " + ec.message()};
    PictureKey key = makePictureKey();
    for (const auto& item : fs::directory_iterator(sourceDir, ec)) {
        std::string target = pictureTargetName(item.path().filename().string());
        if (target.empty()) continue;
        std::ifstream in(item.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            problems.push_back(item.path().string() + ": cannot read");
            continue;
        }
        if (std::string problem = pictureProblem(bytes); !problem.empty()) {
            problems.push_back(item.path().string() + ": " + problem);
            continue;
        }
        scrambleBytes(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), 0, key.data(), key.size());
        fs::path out = fs::path(outDir) / target;
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
            problems.push_back(out.string() + ": cannot write");
    }
    if (ec) problems.push_back(sourceDir + ": " + ec.message());
    return problems;
}
