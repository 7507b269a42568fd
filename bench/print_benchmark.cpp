// Times whole-entry print jobs on the project's Wine printer: StartDocA to
// EndDoc, each document written as PostScript to a file. Run from the stage
// folder (it reads "data", the pictures and jload.dll there):
//
//   cd build/windows/stage && ../../../scripts/wine-test.sh ../print_benchmark.exe [entry] [runs] [out.ps]
//
// Two more modes look at the whole book:
//
//   ../print_benchmark.exe book 'Z:\tmp\book'   one PostScript file per entry (entryNNN.ps), pages per entry
//   ../print_benchmark.exe lines [all]          the body lines as the printer breaks them: how many begin
//                                               with a character that must not begin a line (with "all",
//                                               each such line, in Shift-JIS)
//
// The printer is "Verdalis PDF" (scripts/printer-setup.sh).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "base/text_drawing.h"
#include "base/win32_owners.h"
#include "data/entry_loader.h"
#include "data/food_entry.h"
#include "print/line_breaking_win.h"
#include "print/page_geometry_win.h"
#include "print/print_job.h"
#include "print/printed_sections.h"
#include "state/viewer_state.h"

namespace {

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int32_t postScriptPages(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    std::string text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    int32_t pages = 0;
    for (std::size_t at = text.find("%%Page:"); at != std::string::npos; at = text.find("%%Page:", at + 1)) ++pages;
    return pages;
}

int benchmark(ViewerState& state, const PRINTDLGA& dialog, int32_t entry, int runs, const std::string& output) {
    double best = 1e9, total = 0;
    for (int run = 0; run < runs; ++run) {
        // Wine opens an existing output file without truncating it.
        DeleteFileA(output.c_str());
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        printWholeEntry(&state, entry, dialog, output.c_str());
        double ms = millisecondsSince(start);
        best = ms < best ? ms : best;
        total += ms;
    }
    std::printf("entry %d, %d runs: best %.1f ms, mean %.1f ms per whole-entry job (pictures %s)\n",
                static_cast<int>(entry), runs, best, total / runs, state.decoderLoad ? "decoded" : "absent");
    return 0;
}

int printBook(ViewerState& state, const PRINTDLGA& dialog, const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    int32_t totalPages = 0;
    for (int32_t i = 0; i < count(state.entries); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\entry%03d.ps", static_cast<int>(i));
        std::string path = folder + name;
        DeleteFileA(path.c_str());
        printWholeEntry(&state, i, dialog, path.c_str());
        int32_t pages = postScriptPages(path);
        totalPages += pages;
        std::printf("entry %d pages %d\n", static_cast<int>(i), static_cast<int>(pages));
    }
    std::printf("total pages %d, %.0f ms for %d entries\n", static_cast<int>(totalPages), millisecondsSince(start),
                static_cast<int>(count(state.entries)));
    return 0;
}

// Walks every long text of every entry with the printer's body font, exactly
// as the printed sections break them, and tallies the first character of each
// line that a full line pushed down (a line after a newline begins where the
// author began it).
int countLineStarts(ViewerState& state, const PRINTDLGA& dialog, bool listEach) {
    PageGeometry g;
    computePageGeometry(dialog, &g);
    OwnedFont font = newRomanFont(g.lineHeight);
    SelectionScope useFont{dialog.hDC, font.get()};
    const RECT column{g.marginLeft, 0, g.marginRight, g.marginBottom};
    int32_t lines = 0, broken = 0, prohibited = 0, afterNewline = 0, lone = 0, overWidth = 0;
    std::map<uint16_t, int32_t> byCharacter;
    for (int32_t i = 0; i < count(state.entries); ++i) {
        const FoodEntry& e = *at(state.entries, i);
        const char* texts[] = {textOf(e.episode),  textOf(e.kampo),         textOf(e.components),
                               textOf(e.immunity), textOf(e.effectSummary), textOf(e.effectDetail),
                               textOf(e.advice),   textOf(e.supplement)};
        for (const char* text : texts) {
            bool afterBreak = false;  // the previous line ended because it was full
            int32_t bytes = 0;
            for (const char* p = text; *p; p += bytes) {
                int32_t chars = measurePrintLine(dialog.hDC, p, column, &bytes);
                if (chars == 0 || bytes == 0) break;
                ++lines;
                std::string_view line(p, static_cast<std::size_t>(bytes));
                uint16_t first = firstCharacterCode(line);
                if (isLineStartProhibited(first)) {
                    if (afterBreak) {
                        ++prohibited;
                        ++byCharacter[first];
                        std::string_view body = line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
                        lone += body.size() == (first > 0xFF ? 2u : 1u);
                        if (listEach)
                            std::printf("entry %d: %.*s\n", static_cast<int>(i), static_cast<int>(body.size()),
                                        body.data());
                    } else {
                        ++afterNewline;
                    }
                }
                std::string_view body = line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
                SIZE size{};
                GetTextExtentPoint32A(dialog.hDC, body.data(), static_cast<int>(body.size()), &size);
                overWidth += size.cx > column.right - column.left;
                afterBreak = line.back() != '\n';
                broken += afterBreak && p[bytes] != '\0';
            }
        }
    }
    std::printf(
        "%d body lines, %d of them after a full line; %d of those begin with a prohibited character "
        "(%d hold nothing else); %d lines after a newline or at a text's start begin with one; "
        "%d lines reach past the column (a hanging mark)\n",
        static_cast<int>(lines), static_cast<int>(broken), static_cast<int>(prohibited), static_cast<int>(lone),
        static_cast<int>(afterNewline), static_cast<int>(overWidth));
    for (const auto& [code, n] : byCharacter) {
        char c[3] = {static_cast<char>(code > 0xFF ? code >> 8 : code), static_cast<char>(code > 0xFF ? code : 0), 0};
        std::printf("  %s %d\n", c, static_cast<int>(n));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    // A state of its own, not the viewer's global one: no window is made.
    ViewerState state;
    loadEntries(&state);
    attachDecoder(&state);
    OwnedDC printer{CreateDCA(nullptr, "Verdalis PDF", nullptr, nullptr)};
    HDC dc = printer.get();
    int32_t entry = mode == "book" || mode == "lines" ? 0 : (argc > 1 ? std::atoi(argv[1]) : 0);
    int status = 1;
    if (!dc || count(state.entries) <= entry) {
        std::fprintf(stderr, "print_benchmark: no printer or no entry %d\n", static_cast<int>(entry));
    } else {
        PRINTDLGA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hDC = dc;
        if (mode == "book") {
            status = printBook(state, dialog, argc > 2 ? argv[2] : "book");
        } else if (mode == "lines") {
            status = countLineStarts(state, dialog, argc > 2 && std::strcmp(argv[2], "all") == 0);
        } else {
            status = benchmark(state, dialog, entry, argc > 2 ? std::atoi(argv[2]) : 5,
                               argc > 3 ? argv[3] : "print_benchmark.ps");
        }
    }
    destroyList(state.entries);
    return status;
}
