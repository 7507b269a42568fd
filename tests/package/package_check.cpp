// Looks at an installed or unpacked Verdalis the way a reader meets it, from a
// separate process that sees only the windows on the screen:
//
//   package_check viewer <exe> <folder> <card.bmp> <fallback.bmp>
//       starts <exe> in <folder> as its shortcut does: the first frame shows
//       the index of the folder's data file and the folder's sidebar bitmaps;
//       hovering over label 30 and pressing it opens the entry on its picture,
//       which must be <card.bmp> (the source of 0301) and not <fallback.bmp>;
//       WM_CLOSE ends it with exit code 0 and no temporary file left
//   package_check warning <program> warns|quiet
//       whether <program> first says that the system locale must be Japanese
//
// Runs under Wine with the X11 driver on a virtual display (tests/package/
// package_test.sh). Prints each check as ok or FAIL; exits 1 on any failure.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "base/screen_layout.h"

namespace {

constexpr char kViewerClass[] = "QMViewer";
constexpr char kCaption[] = "Verdalis　ver1.0";
constexpr DWORD kWaitMs = 20000;
constexpr SIZE kLeastClient = {790, 560};  // of the 800 x 600 window, less its frame
constexpr int kPictureEntry = 30;
constexpr POINT kPictureAt = {330, 140};
constexpr SIZE kPictureSize = {300, 200};

int gFailures = 0;

// Every check ends here: it passes when it found no problem.
void check(const std::string& what, const std::string& problem) {
    if (!problem.empty()) ++gFailures;
    std::printf("%s: %s%s%s\n", problem.empty() ? "ok" : "FAIL", what.c_str(), problem.empty() ? "" : ": ",
                problem.c_str());
    std::fflush(stdout);
}

// Pixels as 0x00RRGGBB, top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    COLORREF at(int x, int y) const {
        DWORD pixel = pixels[static_cast<size_t>(y) * width + x];
        return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    }
};

// The pixels of a bitmap, which is deleted.
Image pixelsOf(HBITMAP bitmap) {
    BITMAP shape = {};
    GetObjectA(bitmap, sizeof shape, &shape);
    Image image{shape.bmWidth, shape.bmHeight, std::vector<DWORD>(static_cast<size_t>(shape.bmWidth) * shape.bmHeight)};
    BITMAPINFO info = {{sizeof info.bmiHeader, image.width, -image.height, 1, 32, BI_RGB}};
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS) != image.height)
        image = {};
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return image;
}

// A BMP file through GDI's own loader rather than the viewer's.
Image loadBitmap(const std::string& path) {
    return pixelsOf(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

// What the screen shows of a window's client area.
Image capture(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixelsOf(bitmap);
}

// How many pixels of the area `size` at `at` of the frame differ from the
// image by more than `tolerance` in a channel (or lie outside the image).
long differing(const Image& frame, POINT at, const Image& image, SIZE size, int tolerance) {
    long count = 0;
    for (int y = 0; y < size.cy && at.y + y < frame.height; ++y)
        for (int x = 0; x < size.cx && at.x + x < frame.width; ++x) {
            bool inside = x < image.width && y < image.height;
            COLORREF shown = frame.at(at.x + x, at.y + y);
            COLORREF source = inside ? image.at(x, y) : 0;
            bool off = !inside;
            for (int shift : {0, 8, 16}) {
                int difference = static_cast<int>(shown >> shift & 0xFF) - static_cast<int>(source >> shift & 0xFF);
                off = off || std::abs(difference) > tolerance;
            }
            count += off;
        }
    return count;
}

// A few index labels of all entries, by the colour behind their text: entry 0
// and 1 of the first category, the picture's entry, the first of the second
// category, the last entry (of none), and nothing where a 128th would be.
struct Label {
    int entry;
    COLORREF background;
};
constexpr Label kLabels[] = {{0, 0x41CFD7},  {1, 0x41CFD7},   {kPictureEntry, 0x41CFD7},
                             {45, 0x4BDC6E}, {126, 0xC8C8C8}, {127, kWhite}};

std::string labelProblems(const Image& frame, int selected) {
    std::string problems;
    for (const Label& label : kLabels) {
        int x = kListLeft + kListColumnWidth * (label.entry / kListRowsPerColumn) + 1;
        int y = kListRowHeight * (label.entry % kListRowsPerColumn + 1) + 1;
        COLORREF expected = label.entry == selected ? kSelectedBackground : label.background;
        if (frame.at(x, y) != expected) problems += "label " + std::to_string(label.entry) + " has the wrong colour; ";
    }
    return problems;
}

// Every sidebar bitmap that the first frame (all entries) shows, pixel for
// pixel where it is drawn: the strip of category 0 and the eleven buttons,
// those of categories 1-7 shifted right by their distance from category 0.
std::string sidebarProblems(const Image& frame, const std::string& folder) {
    struct Part {
        int bitmap;
        POINT at;
        SIZE size;
    };
    std::vector<Part> parts = {{kStripBitmaps, {kSidebarWidth, 0}, {kStripWidth, kFrameHeight}}};
    for (int slot = 0; slot < kSidebarSlotCount; ++slot) {
        int shift = slot < kCategorySlotCount ? kSlotShift * slot : 0;
        parts.push_back(
            {sidebarButtonBitmap(slot, 0), {shift, sidebarSlotTop(slot)}, {kSidebarWidth - shift, kSidebarSlotHeight}});
    }
    std::string problems;
    for (const Part& part : parts) {
        char path[32];
        std::snprintf(path, sizeof path, "\\sidebar\\%02d.bmp", part.bitmap);
        if (long off = differing(frame, part.at, loadBitmap(folder + path), part.size, 0))
            problems += std::to_string(off) + " pixels of " + path + " differ; ";
    }
    return problems;
}

// Captures until `problems` finds none or the time is up; returns the last.
template <typename Problems>
std::string waitForFrame(HWND window, Image* frame, Problems problems) {
    std::string problem;
    for (DWORD waited = 0; waited < kWaitMs; waited += 100) {
        *frame = capture(window);
        bool whole = frame->width >= kLeastClient.cx && frame->height >= kLeastClient.cy;
        problem = whole ? problems(*frame)
                        : "the client area is " + std::to_string(frame->width) + " x " + std::to_string(frame->height);
        if (problem.empty()) break;
        Sleep(100);
    }
    return problem;
}

PROCESS_INFORMATION start(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        check("start " + exe, "error " + std::to_string(GetLastError()));
    return process;
}

void end(const PROCESS_INFORMATION& process) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The viewer's temporary picture copy, if one is in the folder.
std::string temporaryFile(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\image\\food_image\\*buf").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return {};
    FindClose(find);
    return found.cFileName;
}

void checkViewer(const std::string& exe, const std::string& folder, const std::string& cardPath,
                 const std::string& fallbackPath) {
    Image card = loadBitmap(cardPath);
    Image fallback = loadBitmap(fallbackPath);
    // Keep the pointer off the index, so the first frame shows entry 0 selected.
    SetCursorPos(1020, 760);
    PROCESS_INFORMATION process = start(exe, folder);
    if (!process.hProcess) return;
    HWND window = nullptr;
    for (DWORD waited = 0; !IsWindowVisible(window) && waited < kWaitMs; waited += 50)
        if (WaitForSingleObject(process.hProcess, 50) != WAIT_OBJECT_0) window = FindWindowA(kViewerClass, nullptr);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    check("a window of class QMViewer with the viewer's caption",
          !IsWindowVisible(window) || owner != process.dwProcessId ? "none shows"
          : lstrcmpA(caption, kCaption) != 0                       ? "its caption is not the viewer's"
                                                                   : "");
    if (!IsWindowVisible(window)) return end(process);

    Image frame;
    check("index: the labels of the installed data",
          waitForFrame(window, &frame, [](const Image& f) { return labelProblems(f, 0); }));
    check("sidebar: the installed bitmaps where the first frame draws them", sidebarProblems(frame, folder));

    // Hover over the entry's label, which selects it, then press: the detail
    // page opens on the ingredient picture.
    int x = kListLeft + kListColumnWidth * (kPictureEntry / kListRowsPerColumn) + 10;
    int y = kListRowHeight * (kPictureEntry % kListRowsPerColumn + 1) + 10;
    POINT screen = {x, y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    check("hovering over label 30 selects it",
          waitForFrame(window, &frame, [](const Image& f) { return labelProblems(f, kPictureEntry); }));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    const long area = kPictureSize.cx * kPictureSize.cy;
    std::string problem = waitForFrame(window, &frame, [&](const Image& f) {
        long off = differing(f, kPictureAt, card, kPictureSize, 2);
        return off * 100 <= area ? "" : std::to_string(off * 100 / area) + " % of its pixels differ from " + cardPath;
    });
    if (problem.empty() && differing(frame, kPictureAt, fallback, kPictureSize, 2) * 5 < area)
        problem = "it matches the fallback card too";
    check("pressing label 30 shows its picture card, through the installed jload.dll", problem);
    check("no temporary picture file while the picture shows", temporaryFile(folder));

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, kWaitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    check("exit code 0 after WM_CLOSE", exitCode == 0 ? "" : "exit code " + std::to_string(exitCode));
    check("no temporary picture file after it", temporaryFile(folder));
    end(process);
}

// The code-page warning: a box whose text names the system locale, answered
// with OK; any other window of the program means it went on.
struct WarningWatch {
    DWORD processId;
    bool warned = false;
    bool wentOn = false;
};

BOOL CALLBACK namesSystemLocale(HWND child, LPARAM found) {
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    if (std::wcsstr(text, L"system locale")) *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

BOOL CALLBACK watchWindow(HWND window, LPARAM param) {
    auto* watch = reinterpret_cast<WarningWatch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != watch->processId || !IsWindowVisible(window)) return TRUE;
    bool warning = false;
    EnumChildWindows(window, namesSystemLocale, reinterpret_cast<LPARAM>(&warning));
    if (warning && !watch->warned) PostMessageW(window, WM_COMMAND, IDOK, 0);
    watch->warned |= warning;
    watch->wentOn |= !warning;
    return TRUE;
}

void checkWarning(const std::string& program, const std::string& expected) {
    PROCESS_INFORMATION process = start(program, program.substr(0, program.find_last_of('\\')));
    if (!process.hProcess) return;
    WarningWatch watch{process.dwProcessId};
    for (DWORD waited = 0; waited < kWaitMs && !watch.wentOn; waited += 100) {
        EnumWindows(watchWindow, reinterpret_cast<LPARAM>(&watch));
        Sleep(100);
    }
    end(process);
    std::string seen = watch.warned ? "warns" : "quiet";
    check(program + " at code page " + std::to_string(GetACP()) + " " + expected, !watch.wentOn
                                                                                      ? "it showed no window of its own"
                                                                                  : seen != expected ? "it is " + seen
                                                                                                     : "");
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "viewer" && argc == 6) {
        checkViewer(argv[2], argv[3], argv[4], argv[5]);
    } else if (mode == "warning" && argc == 4) {
        checkWarning(argv[2], argv[3]);
    } else {
        std::fprintf(stderr,
                     "usage: package_check viewer <exe> <folder> <card.bmp> <fallback.bmp>"
                     " | warning <program> warns|quiet\n");
        return 2;
    }
    return gFailures ? 1 : 0;
}
