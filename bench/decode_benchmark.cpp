// decode_benchmark: how long jload.dll takes to decode, or to refuse, a picture.
//   scripts/wine-test.sh ../decode_benchmark.exe <picture>... [-n runs]
// Run it from build/windows/stage (it loads jload.dll from there). For each
// file it prints the median and the slowest of `runs` loads (50 unless told)
// after five warm-up loads, once with the calling thread outside COM (every
// load enters and leaves COM itself) and once with it in an STA. A refused
// file (too large, damaged) shows what a refusal costs: it should be far
// below a decode, since the refusal comes from the header.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/picture.h"

namespace {

double nowMs() {
    LARGE_INTEGER frequency, t;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median and slowest of `runs` loads; `decoded` tells whether the file decodes.
void measure(DecoderLoad load, const char* path, int runs, double* median, double* slowest, bool* decoded) {
    for (int i = 0; i < 5; ++i) GlobalFree(load(path));
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = nowMs();
        void* block = load(path);
        times.push_back(nowMs() - start);
        *decoded = block != nullptr;
        GlobalFree(block);
    }
    std::sort(times.begin(), times.end());
    *median = times[times.size() / 2];
    *slowest = times.back();
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 50;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "-n" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else paths.push_back(argv[i]);
    }
    Decoder decoder = loadDecoder("jload.dll");
    if (!decoder.load || paths.empty()) {
        std::fprintf(stderr, "usage (from the stage folder): decode_benchmark <picture>... [-n runs]\n");
        return 2;
    }
    std::printf("%-40s %8s %22s %22s\n", "file", "", "without COM: median/max", "in an STA: median/max");
    for (const char* path : paths) {
        double cold = 0, coldMax = 0, warm = 0, warmMax = 0;
        bool decoded = false;
        measure(decoder.load, path, runs, &cold, &coldMax, &decoded);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        measure(decoder.load, path, runs, &warm, &warmMax, &decoded);
        CoUninitialize();
        std::printf("%-40s %8s %10.3f /%8.3f ms %10.3f /%8.3f ms\n", path, decoded ? "decoded" : "refused", cold,
                    coldMax, warm, warmMax);
    }
    return 0;
}
