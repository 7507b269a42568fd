#include "tests/support/print_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/entry_loader.h"
#include "data/food_entry.h"
#include "data/picture.h"

PRINTDLGA dialogFor(HDC dc) {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hDC = dc;
    dialog.nCopies = 1;
    return dialog;
}

PrintState::~PrintState() { destroyList(state.entries); }

bool PrintState::loadDataFile(const std::string& path) {
    destroyList(state.entries);
    state.entries = readEntryFile(path.c_str());
    return count(state.entries) > 0;
}

bool PrintState::loadDecoder(const std::string& dllPath) {
    return attachDecoder(&state, dllPath.c_str());  // freed after the entries
}

std::string testOutputFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '-');
    std::string folder = std::string("Z:") + VERDALIS_BINARY_DIR + "/print-test-output/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::string unixPathOf(const std::string& windowsPath) {
    std::string path = windowsPath.rfind("Z:", 0) == 0 ? windowsPath.substr(2) : windowsPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool runHostCommand(const std::string& command, DWORD timeoutMs) {
    // Wine starts a host program from CreateProcess but gives no waitable
    // handle for it, so the shell leaves its status in a file that is polled.
    char tempFolder[MAX_PATH];
    GetTempPathA(MAX_PATH, tempFolder);
    std::string marker = std::string("Z:") + VERDALIS_BINARY_DIR + "/print-test-output/status-" +
                         std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
    std::filesystem::create_directories(std::filesystem::path(marker).parent_path());
    std::string unixMarker = unixPathOf(marker);
    std::string line = "/bin/sh -c \"" + command + "; echo $? > '" + unixMarker + ".tmp'; mv '" + unixMarker +
                       ".tmp' '" + unixMarker + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("/bin/sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start /bin/sh (error %lu)\n", GetLastError());
        return false;
    }
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < timeoutMs; Sleep(50)) {
        if (std::filesystem::exists(marker)) {
            std::string status = readWholeFile(marker);
            std::filesystem::remove(marker);
            if (status.rfind("0", 0) == 0) return true;
            std::fprintf(stderr, "host command failed with status %s: %s\n", status.c_str(), command.c_str());
            return false;
        }
    }
    return false;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int32_t postScriptPageCount(const std::string& psPath) {
    std::string text = readWholeFile(psPath);
    int32_t pages = 0;
    for (std::size_t at = text.find("%%Page:"); at != std::string::npos; at = text.find("%%Page:", at + 1)) ++pages;
    return pages;
}

int32_t GreyPage::inkIn(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t below) const {
    int32_t ink = 0;
    for (int32_t y = std::max(top, 0); y < std::min(bottom, height); ++y)
        for (int32_t x = std::max(left, 0); x < std::min(right, width); ++x) ink += at(x, y) < below;
    return ink;
}

namespace {

// A binary PGM ("P5", maxval 255) as Ghostscript's pgmraw device writes it.
bool readPgm(const std::string& path, GreyPage* page) {
    std::string bytes = readWholeFile(path);
    std::istringstream in(bytes);
    // Header fields are separated by white space and may be preceded by
    // "#" comment lines (Ghostscript names itself in one).
    auto next = [&in](auto& value) {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 16, '\n');
        in >> value;
    };
    std::string magic;
    int maxval = 0;
    next(magic);
    next(page->width);
    next(page->height);
    next(maxval);
    if (magic != "P5" || maxval != 255 || page->width <= 0 || page->height <= 0) return false;
    std::size_t offset = static_cast<std::size_t>(in.tellg()) + 1;
    std::size_t size = static_cast<std::size_t>(page->width) * page->height;
    if (bytes.size() < offset + size) return false;
    page->pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                        bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
    return true;
}

}  // namespace

std::vector<GreyPage> renderPostScript(const std::string& psPath, int32_t dpi) {
    std::string folder = psPath + "-pages";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string command = std::string(VERDALIS_GHOSTSCRIPT) + " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r" +
                          std::to_string(dpi) + " -sOutputFile='" + unixPathOf(folder) + "/page-%03d.pgm' '" +
                          unixPathOf(psPath) + "'";
    std::vector<GreyPage> pages;
    if (!runHostCommand(command, 120000)) return pages;
    for (int n = 1;; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/page-%03d.pgm", n);
        GreyPage page;
        if (!readPgm(folder + name, &page)) break;
        pages.push_back(std::move(page));
    }
    return pages;
}

#include "tests/support/entry_builder.h"
#include "tests/support/print_test_entries.h"

namespace {

std::string numberedLines(const std::string& word, int lines) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += word + std::to_string(i) + "\n";
    return s + "end";
}

std::vector<std::string> numbered(int n, const std::string& word) {
    std::vector<std::string> items;
    for (int i = 0; i < n; ++i) items.push_back(word + std::to_string(i));
    return items;
}

// An entry whose long texts are all `text` unless set otherwise afterwards.
EntrySource entryOf(int id, const char* name, const char* chineseName, int season, const char* nature,
                    const char* taste, const std::string& text) {
    EntrySource e;
    e.index = id;
    e.name = name;
    e.chineseName = chineseName;
    e.seasonMonth = season;
    e.nature = nature;
    e.taste = taste;
    e.episode = e.components = e.kampo = e.immunity = e.effectDetail = e.effectSummary = e.advice = e.supplement = text;
    e.dishName = "料理";
    return e;
}

}  // namespace

std::string printTestEntries() {
    std::vector<IngredientRow> ingredients;
    for (int i = 0; i < 10; ++i) ingredients.push_back({"材料" + std::to_string(i), "大さじ" + std::to_string(i)});

    EntrySource shortEntry = sampleEntry(kShortEntry);

    EntrySource longEntry = entryOf(kLongEntry, "長い項目", "長名", 11, "涼", "辛・甘", "");
    longEntry.symptoms = numbered(12, "症状の名前");
    longEntry.episode = numberedLines("episode ", 3);
    longEntry.components = numberedLines("components ", 20);
    longEntry.kampo = numberedLines("kampo ", 40);
    longEntry.immunity = numberedLines("immunity ", 10);
    longEntry.effectDetail = numberedLines("detail ", 30);
    longEntry.effectSummary = numberedLines("summary ", 5);
    longEntry.dishName = "長い料理";
    longEntry.ingredients = ingredients;
    longEntry.steps = numbered(10, "よく煮込む手順");
    longEntry.dishEffect = "体が温まる";
    longEntry.otherDishes = numbered(10, "別の料理");
    longEntry.advice = numberedLines("advice ", 30);
    longEntry.supplement = numberedLines("supplement ", 10);

    EntrySource emptyEntry = entryOf(kEmptyEntry, "空の項目", "空名", 0, "平", "淡", "");

    return dataTextOf({shortEntry, longEntry, emptyEntry});
}
