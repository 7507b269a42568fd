// frame_benchmark: how long the viewer takes to compose one frame, per view.
// Run it from a folder that holds the viewer's files (build/windows/stage):
//   scripts/wine-test.sh ../frame_benchmark.exe [frames] [picture frames]
// Prints the fastest frame, the median and the 99th percentile in
// milliseconds; on a busy machine the fastest frame is the steadiest figure. The picture and
// dish pages run 1000 frames unless told otherwise.
//   scripts/wine-test.sh ../frame_benchmark.exe frames FILE [FOLDER]
// instead writes one line per frame to FILE: entry, tab, scroll and a hash of
// the back buffer, for every tab of every entry unscrolled and scrolled, so
// that two builds can be compared frame by frame (diff the files); with
// FOLDER, every frame is also written there as a BMP file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "app/main_window.h"
#include "data/food_entry.h"
#include "data/picture.h"
#include "render/frame.h"
#include "state/viewer_state.h"

namespace {

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s min %7.3f ms   median %7.3f ms   p99 %7.3f ms\n", what, times.front(), times[times.size() / 2],
                times[std::min(times.size() - 1, times.size() * 99 / 100)]);
}

void report(const char* what, int frames, const std::function<void()>& frame) {
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        double start = nowMs();
        frame();
        times.push_back(nowMs() - start);
    }
    print(what, times);
}

// Two kinds of frame taken in turns, so that a busy machine slows both alike.
void compare(const char* whatA, const char* whatB, int frames, const std::function<void()>& frameA,
             const std::function<void()>& frameB) {
    std::vector<double> a, b;
    for (int i = 0; i < frames; ++i) {
        double start = nowMs();
        frameA();
        double middle = nowMs();
        frameB();
        a.push_back(middle - start);
        b.push_back(nowMs() - middle);
    }
    print(whatA, a);
    print(whatB, b);
}

// The entry with the longest episode, so the text pages have something to scroll.
int32_t longestEntry() {
    int32_t best = 0;
    std::size_t longest = 0;
    for (int32_t i = 0; i < count(gViewer.entries); ++i) {
        std::size_t n = std::strlen(at(gViewer.entries, i)->episode.get());
        if (n > longest) longest = n, best = i;
    }
    return best;
}

// FNV-1a over the back buffer's pixels.
uint64_t frameHash(const ViewerState* state) {
    GdiFlush();
    const auto* bytes = static_cast<const unsigned char*>(state->backBits);
    uint64_t hash = 1469598103934665603ull;
    for (std::size_t i = 0; i < std::size_t{kFrameWidth} * kFrameHeight * 3; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

// The back buffer as a 24-bit BMP file, to look at a frame that differs.
void writeFrameBitmap(const ViewerState* state, const char* path) {
    FILE* out = std::fopen(path, "wb");
    if (!out) return;
    const uint32_t pixels = uint32_t{kFrameWidth} * kFrameHeight * 3;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + pixels), 0,
                          0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), kFrameWidth, -kFrameHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(state->backBits, pixels, 1, out);
    std::fclose(out);
}

// Every frame's hash to `path`; with `folder`, each frame also as a BMP file there.
int writeFrameHashes(HWND hwnd, ViewerState* state, const char* path, const char* folder) {
    FILE* out = std::fopen(path, "w");
    if (!out) return 1;
    state->view = 1;
    for (int32_t entry = 0; entry < count(state->entries); ++entry) {
        for (int32_t tab = 0; tab < 8; ++tab) {
            for (int32_t scroll : {0, 60, 100000}) {
                state->selected = entry;
                state->category = 0;
                state->tab = tab;
                state->scroll = scroll;
                composeFrame(hwnd, state);
                if (folder) {
                    char name[MAX_PATH];
                    std::snprintf(name, sizeof name, "%s\\%03d-%d-%d.bmp", folder, static_cast<int>(entry),
                                  static_cast<int>(tab), static_cast<int>(scroll));
                    writeFrameBitmap(state, name);
                }
                std::fprintf(out, "%03d %d %6d %016llx\n", static_cast<int>(entry), static_cast<int>(tab),
                             static_cast<int>(scroll), static_cast<unsigned long long>(frameHash(state)));
            }
        }
    }
    std::fclose(out);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    int pictureFrames = argc > 2 ? std::max(10, std::atoi(argv[2])) : 1000;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    makeViewerClass(instance);
    attachDecoder(&gViewer);  // freed by the window's destruction
    HWND hwnd = CreateWindowExA(0, kViewerClassName, "bench", WS_CAPTION | WS_SYSMENU, 0, 0, kFrameWidth, kFrameHeight,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    ViewerState* state = &gViewer;
    if (argc > 2 && std::strcmp(argv[1], "frames") == 0)
        return writeFrameHashes(hwnd, state, argv[2], argc > 3 ? argv[3] : nullptr);
    std::printf("%d entries, %d sidebar bitmaps, %d frames each\n", count(state->entries), count(state->bitmaps),
                frames);

    state->view = 0;
    state->category = 0;
    report("index, all entries", frames, [&] { composeFrame(hwnd, state); });
    state->category = 1;
    report("index, category 1", frames, [&] { composeFrame(hwnd, state); });
    state->category = 0;
    report("paint (compose + blit), index", frames, [&] { paintFrame(hwnd, state); });

    POINT p{400, 300};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    int step = 0;
    report("pointer move, message to painted", frames, [&] {
        int y = 30 + (step++ % 20) * 20;
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(400, y));
        UpdateWindow(hwnd);
    });

    state->view = 1;
    state->selected = longestEntry();
    const char* tabs[] = {"picture", "episode", "kampo", "western", "effect", "symptoms", "dish", "advice"};
    for (int32_t tab = 0; tab < 8; ++tab) {
        char label[64];
        std::snprintf(label, sizeof label, "detail %d (%s), entry %d", tab, tabs[tab], state->selected);
        state->tab = tab;
        report(label, frames, [&] {
            state->scroll = 40;
            composeFrame(hwnd, state);
        });
    }
    // Picture pages decode at every frame; none may leave its temporary file.
    state->selected = 0;
    state->scroll = 0;
    state->tab = 0;
    char label[64];
    std::snprintf(label, sizeof label, "picture page x%d, entry 0", pictureFrames);
    report(label, pictureFrames, [&] { composeFrame(hwnd, state); });
    state->tab = 6;
    std::snprintf(label, sizeof label, "dish page x%d, entry 0", pictureFrames);
    report(label, pictureFrames, [&] { composeFrame(hwnd, state); });
    // Entry 0 against entry 1, in turns: with a damaged or oversized picture
    // put in place of entry 0's (a copy of the stage), this shows what it costs.
    state->tab = 0;
    compare(
        "picture page, entry 0 (in turns)", "picture page, entry 1 (in turns)", pictureFrames,
        [&] {
            state->selected = 0;
            composeFrame(hwnd, state);
        },
        [&] {
            state->selected = 1;
            composeFrame(hwnd, state);
        });
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("image\\food_image\\*buf", &found);
    std::printf("temporary files left: %s\n", search == INVALID_HANDLE_VALUE ? "none" : found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::printf("decoder library: %s\n", gViewer.decoderLoad ? "loaded" : "missing");
    DestroyWindow(hwnd);
    return 0;
}
