// Times whole-entry print jobs on the project's Wine printer: StartDocA to
// EndDoc, each document written as PostScript to a file. Run from the stage
// folder (it reads "data", the pictures and jload.dll there):
//
//   cd build/windows/stage && ../../../scripts/wine-test.sh ../print_benchmark.exe [entry] [runs] [out.ps]
//
// The printer is "Verdalis PDF" (scripts/printer-setup.sh).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/viewer_state.h"
#include "data/entry_loader.h"
#include "data/food_entry.h"
#include "print/print_job.h"

ViewerState gViewer;
HINSTANCE gInstance;

int main(int argc, char** argv) {
    int32_t entry = argc > 1 ? std::atoi(argv[1]) : 0;
    int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string output = argc > 3 ? argv[3] : "print_benchmark.ps";
    ViewerState state;
    loadEntries(&state);
    state.decoderModule = LoadLibraryA("jload.dll");
    if (state.decoderModule)
        state.decoderLoad =
            reinterpret_cast<DecoderLoad>(reinterpret_cast<void*>(GetProcAddress(state.decoderModule, "load")));
    HDC dc = CreateDCA(nullptr, "Verdalis PDF", nullptr, nullptr);
    if (!dc || count(state.entries) <= entry) {
        std::fprintf(stderr, "print_benchmark: no printer or no entry %d\n", static_cast<int>(entry));
        return 1;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hDC = dc;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double best = 1e9, total = 0;
    for (int run = 0; run < runs; ++run) {
        // Wine opens an existing output file without truncating it.
        DeleteFileA(output.c_str());
        QueryPerformanceCounter(&start);
        printWholeEntry(&state, entry, dialog, output.c_str());
        QueryPerformanceCounter(&end);
        double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        best = ms < best ? ms : best;
        total += ms;
    }
    std::printf("entry %d, %d runs: best %.1f ms, mean %.1f ms per whole-entry job (pictures %s)\n",
                static_cast<int>(entry), runs, best, total / runs, state.decoderLoad ? "decoded" : "absent");
    DeleteDC(dc);
    destroyList(state.entries);
    if (state.decoderModule) FreeLibrary(state.decoderModule);
    return 0;
}
