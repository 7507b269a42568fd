// verdalis-content: turns the encyclopedia sources into the viewer's data file
// and back.
//   verdalis-content pack [--style STYLE_LIST] SOURCE_DIR DATA_FILE
//     (the style list defaults to SOURCE_DIR/../style.tsv)
//   verdalis-content unpack DATA_FILE OUT_DIR
//   verdalis-content pictures PICTURE_DIR OUT_DIR
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/content_pack.h"
#include "tools/picture_pack.h"

namespace fs = std::filesystem;

namespace {

int usage() {
    std::cerr << "usage: verdalis-content pack [--style STYLE_LIST] SOURCE_DIR DATA_FILE\n"
                 "       verdalis-content unpack DATA_FILE OUT_DIR\n"
                 "       verdalis-content pictures PICTURE_DIR OUT_DIR\n";
    return 2;
}

void report(const std::vector<Diagnostic>& diagnostics) {
    for (const Diagnostic& d : diagnostics) std::cerr << formatDiagnostic(d) << "\n";
}

// Writes through a temporary file, so a failed run never leaves half a file.
bool writeFile(const fs::path& path, const std::string& bytes) {
    fs::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    return !ec;
}

// The style list: the one named, or style.tsv beside the entries folder. Only a
// list named on the command line must exist; without one the style is not checked.
std::vector<StyleRule> styleRules(const fs::path& sourceDir, const std::string& named,
                                  std::vector<Diagnostic>& diagnostics) {
    if (!named.empty()) return readStyleRules(named, diagnostics);
    fs::path beside = (sourceDir / "..").lexically_normal() / "style.tsv";
    std::error_code ec;
    if (fs::exists(beside, ec)) return readStyleRules(beside.string(), diagnostics);
    diagnostics.push_back({beside.string(), -1, "", "", "no style list here: the style sheet is not checked", false});
    return {};
}

int pack(const fs::path& sourceDir, const fs::path& dataFile, const std::string& styleList) {
    std::vector<fs::path> paths;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(sourceDir, ec))
        if (item.path().extension() == ".yaml") paths.push_back(item.path());
    if (ec) {
        std::cerr << sourceDir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    std::sort(paths.begin(), paths.end());
    std::vector<Diagnostic> diagnostics;
    std::vector<StyleRule> style = styleRules(sourceDir, styleList, diagnostics);
    std::vector<SourceFile> sources;
    sources.reserve(paths.size());
    for (const fs::path& p : paths) sources.push_back(readEntryYaml(p.string(), diagnostics));
    std::string data = packEntries(sources, diagnostics, style);
    report(diagnostics);
    auto errors = std::count_if(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
    std::cerr << "pack: " << errors << " errors, " << diagnostics.size() - static_cast<std::size_t>(errors)
              << " warnings\n";
    if (data.empty()) {
        std::cerr << "pack: nothing written: fix the errors above\n";
        return 1;
    }
    if (!writeFile(dataFile, data)) {
        std::cerr << dataFile.string() << ": cannot write\n";
        return 1;
    }
    std::cerr << "pack: " << sources.size() << " entries, " << data.size() << " bytes -> " << dataFile.string() << "\n";
    return 0;
}

int unpack(const fs::path& dataFile, const fs::path& outDir) {
    std::ifstream in(dataFile, std::ios::binary);
    if (!in) {
        std::cerr << dataFile.string() << ": cannot open\n";
        return 1;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<Diagnostic> diagnostics;
    std::vector<EntrySource> entries = unpackEntries(bytes, diagnostics);
    for (Diagnostic& d : diagnostics) d.file = dataFile.string();
    report(diagnostics);
    std::error_code ec;
    fs::create_directories(outDir, ec);
    for (const EntrySource& e : entries) {
        char name[32];
        std::snprintf(name, sizeof name, "%03d.yaml", static_cast<int>(e.index));
        if (!writeFile(outDir / name, writeEntryYaml(e))) {
            std::cerr << (outDir / name).string() << ": cannot write\n";
            return 1;
        }
    }
    std::cerr << "unpack: " << entries.size() << " entries -> " << outDir.string() << "\n";
    bool failed = std::any_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "pack" && std::string(argv[2]) == "--style")
        return pack(argv[4], argv[5], argv[3]);
    if (argc != 4) return usage();
    std::string command = argv[1];
    if (command == "pack") return pack(argv[2], argv[3], "");
    if (command == "unpack") return unpack(argv[2], argv[3]);
    if (command == "pictures") {
        std::vector<std::string> problems = packPictures(argv[2], argv[3]);
        for (const std::string& p : problems) std::cerr << p << "\n";
        return problems.empty() ? 0 : 1;
    }
    return usage();
}
