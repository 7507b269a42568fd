#include "tests/support/print_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/entry_loader.h"
#include "print/print_job.h"
#include "print/printed_sections.h"
#include "tests/support/viewer_fixture.h"

namespace {

// n short lines and a last one, "end".
std::string lines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "line " + std::to_string(i) + "\n";
    return s + "end";
}

std::vector<std::string> items(const std::string& word, int n) {
    std::vector<std::string> list;
    for (int i = 0; i < n; ++i) list.push_back(word + std::to_string(i));
    return list;
}

std::vector<EntrySource> testEntries() {
    EntrySource longEntry = sampleEntry(kLongEntry);
    longEntry.symptoms = items("症状の名前", 12);
    const std::pair<std::string EntrySource::*, int> kTexts[] = {
        {&EntrySource::episode, 3},   {&EntrySource::components, 20},   {&EntrySource::kampo, 40},
        {&EntrySource::immunity, 10}, {&EntrySource::effectSummary, 5}, {&EntrySource::effectDetail, 30},
        {&EntrySource::advice, 30},   {&EntrySource::supplement, 10}};
    for (const auto& [text, n] : kTexts) longEntry.*text = lines(n);
    // The first amount takes two lines of its column, every other row one.
    longEntry.ingredients = {{"材料0", "大さじ一杯と小さじ半分ほどを合わせたもの"}};
    for (int i = 1; i < 8; ++i) longEntry.ingredients.push_back({"材料" + std::to_string(i), "少々"});
    longEntry.steps = items("よく煮込む手順", 10);
    longEntry.otherDishes = items("別の料理", 10);

    EntrySource emptyEntry = sampleEntry(kEmptyEntry);
    emptyEntry.seasonMonth = 0;
    emptyEntry.symptoms = emptyEntry.steps = emptyEntry.otherDishes = {};
    emptyEntry.ingredients = {};
    emptyEntry.components = emptyEntry.immunity = emptyEntry.advice = emptyEntry.supplement = "";
    return {sampleEntry(kShortEntry), longEntry, emptyEntry};
}

// Runs a shell command on the host and waits for it, two minutes at most. Wine
// starts host programs but gives no handle to wait on, so the shell leaves its
// exit status in a file, which is polled.
bool runOnHost(const std::string& command, const std::string& statusFile) {
    const std::string status = statusFile.substr(2);  // without "Z:"
    std::string line = "/bin/sh -c \"" + command + "; echo $? >'" + status + ".tmp'; mv '" + status + ".tmp' '" +
                       status + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("/bin/sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    for (int polls = 0; polls < 2400 && !std::filesystem::exists(statusFile); ++polls) Sleep(50);
    int code = -1;
    std::ifstream(statusFile) >> code;
    std::filesystem::remove(statusFile);
    EXPECT_EQ(code, 0) << command;
    return code == 0;
}

// A binary PGM as Ghostscript's pgmraw device writes it: "P5", a comment,
// width, height, 255 and the pixels; no pixels when there is no such file.
GreyPage readPgm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    GreyPage page;
    in >> magic >> std::ws;
    if (in.peek() == '#') std::getline(in, magic);
    in >> page.width >> page.height >> maxval;
    in.get();
    if (!in || maxval != 255 || page.width <= 0 || page.height <= 0) return {};
    page.pixels.resize(static_cast<std::size_t>(page.width) * page.height);
    in.read(reinterpret_cast<char*>(page.pixels.data()), static_cast<std::streamsize>(page.pixels.size()));
    return in ? page : GreyPage{};
}

}  // namespace

int32_t GreyPage::inkIn(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t below) const {
    int32_t ink = 0;
    for (int32_t y = std::max(top, 0); y < std::min(bottom, height); ++y)
        for (int32_t x = std::max(left, 0); x < std::min(right, width); ++x)
            ink += pixels[static_cast<std::size_t>(y) * width + x] < below;
    return ink;
}

void PrintTest::SetUp() {
    ASSERT_NE(printer.get(), nullptr) << "no printer \"" << kPrinterName << "\": run scripts/printer-setup.sh test";
    dialog.lStructSize = sizeof dialog;
    dialog.hDC = printer.get();
    dialog.nCopies = 1;
    computePageGeometry(dialog, &g);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::string("Z:") + VERDALIS_BINARY_DIR + "/print-test-output/" + test->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    psPath = folder + "/out.ps";
    writeDataFile(folder + "/data", dataTextOf(testEntries()));
    state.entries = readEntryFile((folder + "/data").c_str());
    ASSERT_EQ(count(state.entries), 3);
}

int32_t PrintTest::printPart(Part part, const FoodEntry& e, int32_t y, int32_t draw, ViewerState* s) const {
    using Section = int32_t (*)(const FoodEntry&, const PRINTDLGA&, const PageGeometry&, int32_t, int32_t);
    constexpr Section kTexts[] = {printEpisodeSection, printKampoSection, printWesternSection, printEffectSection,
                                  printSymptomsSection};
    if (part == kTitle) return printTitleBlock(e, dialog, g, s, draw);
    if (part == kRule) return printRule(dialog, g, y, draw);
    if (part == kDish) return printDishSection(e, dialog, g, y, s, draw);
    if (part == kAdvice) return printAdviceSection(e, dialog, g, y, draw);
    return kTexts[part - kEpisode](e, dialog, g, y, draw);
}

void PrintTest::startDocument() {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = "test";
    info.lpszOutput = psPath.c_str();
    ASSERT_GT(StartDocA(printer.get(), &info), 0);
}

std::vector<GreyPage> PrintTest::render(const std::string& path) const {
    const std::string pages = folder + "/" + std::filesystem::path(path).filename().string() + "-page";
    std::vector<GreyPage> rendered;
    if (!runOnHost(std::string(VERDALIS_GHOSTSCRIPT) + " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r300 " +
                       "-sOutputFile='" + pages.substr(2) + "%d.pgm' '" + path.substr(2) + "'",
                   folder + "/status"))
        return rendered;
    while (true) {
        GreyPage page = readPgm(pages + std::to_string(rendered.size() + 1) + ".pgm");
        if (page.pixels.empty()) return rendered;
        rendered.push_back(std::move(page));
    }
}
