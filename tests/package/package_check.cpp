// Checks an installed or unpacked Verdalis the way a reader meets it, from a
// separate process: the per-user install (files, version resource, shortcut,
// Apps entry), the viewer started as the shortcut starts it and observed only
// through its window on the screen, and the silent uninstall.
//
//   package_check installed <version> <picture sources>   after setup.exe /S
//   package_check viewer <folder> <picture sources>       an unpacked zip
//   package_check uninstall                                runs QuietUninstallString
//
// Runs under Wine with the X11 driver on a virtual display (tests/package/
// package_test.sh). Prints what it found and exits 1 on any failure.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wincodec.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "base/screen_layout.h"

namespace {

constexpr char kViewerClass[] = "QMViewer";
constexpr char kCaption[] = "Verdalis　ver1.0";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Verdalis";
constexpr char kShortcutName[] = "\\Verdalis.lnk";
constexpr DWORD kWaitMs = 20000;

// Index lists: 127 labels, 26 to a column 120 pixels wide, rows 20 pixels apart.
constexpr int kEntryCount = 127;
constexpr COLORREF kSelectedBackground = 0x323232;
struct CategoryRange {
    int first;
    int count;
    COLORREF background;
};
constexpr CategoryRange kCategories[] = {
    {0, 45, 0x41CFD7}, {45, 28, 0x4BDC6E}, {73, 3, 0xD2C882},   {76, 6, 0x6C67FF},
    {82, 8, 0x788CBE}, {90, 14, 0xE596C4}, {104, 18, 0xCD9C9C}, {122, 5, 0xC8C8C8},
};
// The entry opened for the picture page, and where its picture is drawn.
constexpr int kPictureEntry = 30;
constexpr int kPictureX = 330, kPictureY = 140, kPictureWidth = 300, kPictureHeight = 200;

int gFailures = 0;

void fail(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    std::fflush(stdout);
    ++gFailures;
}

void pass(const std::string& what) {
    std::printf("ok: %s\n", what.c_str());
    std::fflush(stdout);
}

bool sameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

void expectEqual(const std::string& what, const std::string& actual, const std::string& expected) {
    if (actual == expected) pass(what + " = " + actual);
    else fail(what + " is \"" + actual + "\", expected \"" + expected + "\"");
}

std::string knownFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

std::string installFolder() { return knownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Verdalis"; }
std::string shortcutPath() { return knownFolder(CSIDL_PROGRAMS) + kShortcutName; }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Bytes of every file under a folder.
unsigned long long folderBytes(const std::string& folder) {
    unsigned long long total = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) total += folderBytes(folder + "\\" + name);
        else total += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return total;
}

// Names in a folder that end in "buf": the viewer's temporary picture copies.
std::vector<std::string> temporaryFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\image\\food_image\\*buf").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

// ---- Registry, version resource, shortcut ---------------------------------

bool readRegistryText(const char* name, std::string* value) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    *value = buffer;
    return true;
}

std::string registryText(const char* name) {
    std::string value;
    if (!readRegistryText(name, &value)) fail(std::string("uninstall key value ") + name + " is missing");
    return value;
}

bool uninstallKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void checkUninstallKey(const std::string& folder, const std::string& version) {
    std::string uninstaller = "\"" + folder + "\\uninstall.exe\"";
    expectEqual("DisplayName", registryText("DisplayName"), "Verdalis");
    expectEqual("DisplayVersion", registryText("DisplayVersion"), version);
    expectEqual("Publisher", registryText("Publisher"), "Verdalis Project");
    expectEqual("DisplayIcon", registryText("DisplayIcon"), folder + "\\verdalis.exe,0");
    expectEqual("UninstallString", registryText("UninstallString"), uninstaller);
    expectEqual("QuietUninstallString", registryText("QuietUninstallString"), uninstaller + " /S");

    DWORD estimated = 0, size = sizeof estimated;
    if (RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr, &estimated, &size) !=
        ERROR_SUCCESS) {
        fail("uninstall key value EstimatedSize is missing");
        return;
    }
    // Kilobytes of the installed files; the uninstaller itself is not counted.
    unsigned long long kilobytes = folderBytes(folder) / 1024;
    unsigned long long slack = kilobytes / 10 + 4;
    if (estimated + slack < kilobytes || estimated > kilobytes + slack)
        fail("EstimatedSize is " + std::to_string(estimated) + " KB, the folder holds " + std::to_string(kilobytes) +
             " KB");
    else pass("EstimatedSize = " + std::to_string(estimated) + " KB (folder " + std::to_string(kilobytes) + " KB)");
}

std::string versionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return std::string(value);
}

void checkVersionResource(const std::string& exe, const std::string& version) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    if (size == 0) {
        fail(exe + " has no version resource");
        return;
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(exe.c_str(), 0, size, block.data())) {
        fail("cannot read the version resource of " + exe);
        return;
    }
    expectEqual("ProductName", versionString(block, "ProductName"), "Verdalis");
    expectEqual("ProductVersion", versionString(block, "ProductVersion"), version);
    expectEqual("FileVersion", versionString(block, "FileVersion"), version);
    std::string description = versionString(block, "FileDescription");
    std::string copyright = versionString(block, "LegalCopyright");
    if (description.empty()) fail("FileDescription is empty");
    if (copyright.find("Verdalis") == std::string::npos) fail("LegalCopyright is \"" + copyright + "\"");
    pass("FileDescription = " + description + ", LegalCopyright = " + copyright);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    int major = std::atoi(version.c_str());
    int minor = std::atoi(version.c_str() + version.find('.') + 1);
    DWORD expected = static_cast<DWORD>(major) << 16 | static_cast<DWORD>(minor);
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        fixed->dwFileVersionMS != expected || fixed->dwProductVersionMS != expected)
        fail("the fixed file version is not " + version);
    else pass("fixed file version " + version);
}

struct Shortcut {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
};

bool readShortcut(const std::string& path, Shortcut* shortcut) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (ok) {
        wchar_t widePath[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
        char text[MAX_PATH * 2];
        ok = SUCCEEDED(file->Load(widePath, STGM_READ));
        if (ok && SUCCEEDED(link->GetPath(text, sizeof text, nullptr, 0))) shortcut->target = text;
        if (ok && SUCCEEDED(link->GetArguments(text, sizeof text))) shortcut->arguments = text;
        if (ok && SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) shortcut->workingDirectory = text;
        file->Release();
    }
    link->Release();
    return ok;
}

// ---- The viewer through its window ----------------------------------------

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // top-down, 0x00RRGGBB
    COLORREF at(int x, int y) const {
        DWORD p = pixels[static_cast<size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// A 32-bit top-down DIB section with a memory DC.
struct Capture {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    DWORD* bits = nullptr;
    Capture(int width, int height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    ~Capture() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// What the screen shows of the window's client area.
Frame captureClient(HWND window) {
    Frame frame;
    RECT client;
    if (!GetClientRect(window, &client)) return frame;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    frame.width = client.right;
    frame.height = client.bottom;
    if (frame.width <= 0 || frame.height <= 0) return frame;
    Capture capture(frame.width, frame.height);
    HDC screen = GetDC(nullptr);
    BitBlt(capture.dc, 0, 0, frame.width, frame.height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    frame.pixels.assign(capture.bits, capture.bits + static_cast<size_t>(frame.width) * frame.height);
    return frame;
}

// One image file decoded to 0x00RRGGBB pixels, top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

// A sidebar BMP, through GDI's own loader rather than the viewer's.
Image loadBitmapImage(const std::string& path) {
    Image image;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) return image;
    BITMAP shape;
    GetObjectA(bitmap, sizeof shape, &shape);
    image.width = shape.bmWidth;
    image.height = shape.bmHeight;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    if (GetDIBits(dc, bitmap, 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS) != image.height)
        image = Image{};
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);
    return image;
}

// A picture card's source PNG, through the Windows Imaging Component.
Image loadPngImage(const std::string& path) {
    Image image;
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return image;
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT width = 0, height = 0;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(widePath, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        image.width = static_cast<int>(width);
        image.height = static_cast<int>(height);
        image.pixels.resize(static_cast<size_t>(width) * height);
        if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                         reinterpret_cast<BYTE*>(image.pixels.data()))))
            image = Image{};
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    factory->Release();
    return image;
}

COLORREF labelBackground(int entry) {
    for (const CategoryRange& range : kCategories)
        if (entry >= range.first && entry < range.first + range.count) return range.background;
    return 0xFFFFFF;
}

POINT labelOrigin(int position) { return {200 + 120 * (position / 26), 20 * (position % 26 + 1)}; }

std::string where(int x, int y) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d)", x, y);
    return text;
}

std::string hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(colour));
    return text;
}

// The all-entries index: every label cell of the 127 entries in its category's
// colour (the first, selected at start, in dark grey), and nothing where a
// 128th label would be. Returns what is wrong, or nothing.
std::string indexProblems(const Frame& frame, int selected) {
    int wrong = 0;
    std::string first;
    for (int k = 0; k <= kEntryCount; ++k) {
        POINT origin = labelOrigin(k);
        COLORREF expected = k == kEntryCount ? 0xFFFFFF : k == selected ? kSelectedBackground : labelBackground(k);
        COLORREF actual = frame.at(origin.x + 1, origin.y + 1);
        if (actual != expected) {
            if (wrong++ == 0)
                first = "label " + std::to_string(k) + " at " + where(origin.x, origin.y) + " is " + hex(actual) +
                        ", expected " + hex(expected);
        }
    }
    return wrong ? std::to_string(wrong) + " of 128 label cells wrong; first: " + first : std::string();
}

struct SidebarPart {
    int position;  // in imagelist.txt
    int x, y, width, height;
};

// Where the first frame (all entries, category 0) draws each bitmap, 1:1.
std::vector<SidebarPart> firstFrameSidebar() {
    std::vector<SidebarPart> parts = {{0, 180, 0, 10, 600}};
    for (int slot = 0; slot <= 7; ++slot)
        parts.push_back({slot == 0 ? 11 : 22 + slot, 5 * slot, 50 * slot, 180 - 5 * slot, 50});
    for (int slot = 8; slot <= 10; ++slot) parts.push_back({11 + slot, 0, 50 * slot + 18, 180, 50});
    return parts;
}

std::string sidebarProblems(const Frame& frame, const std::vector<Image>& bitmaps) {
    for (const SidebarPart& part : firstFrameSidebar()) {
        const Image& bitmap = bitmaps[part.position];
        long wrong = 0, compared = 0;
        std::string first;
        for (int y = 0; y < part.height && part.y + y < frame.height; ++y)
            for (int x = 0; x < part.width; ++x) {
                if (x >= bitmap.width || y >= bitmap.height) continue;
                ++compared;
                COLORREF actual = frame.at(part.x + x, part.y + y);
                DWORD source = bitmap.at(x, y);
                COLORREF expected = RGB((source >> 16) & 0xFF, (source >> 8) & 0xFF, source & 0xFF);
                if (actual != expected && wrong++ == 0)
                    first = where(part.x + x, part.y + y) + " is " + hex(actual) + ", expected " + hex(expected);
            }
        if (compared == 0) return "bitmap " + std::to_string(part.position) + " has no pixels to compare";
        if (wrong)
            return "bitmap " + std::to_string(part.position) + ": " + std::to_string(wrong) + " of " +
                   std::to_string(compared) + " pixels differ; first " + first;
    }
    return {};
}

// Share of pixels of the picture's place that differ from an image by more than
// a rounding step in any channel.
double pictureDifference(const Frame& frame, const Image& image) {
    if (image.width != kPictureWidth || image.height != kPictureHeight) return 1.0;
    long differing = 0;
    for (int y = 0; y < kPictureHeight && kPictureY + y < frame.height; ++y)
        for (int x = 0; x < kPictureWidth && kPictureX + x < frame.width; ++x) {
            COLORREF actual = frame.at(kPictureX + x, kPictureY + y);
            DWORD expected = image.at(x, y);
            int dr = std::abs(static_cast<int>(GetRValue(actual)) - static_cast<int>((expected >> 16) & 0xFF));
            int dg = std::abs(static_cast<int>(GetGValue(actual)) - static_cast<int>((expected >> 8) & 0xFF));
            int db = std::abs(static_cast<int>(GetBValue(actual)) - static_cast<int>(expected & 0xFF));
            if (dr > 2 || dg > 2 || db > 2) ++differing;
        }
    return static_cast<double>(differing) / (kPictureWidth * kPictureHeight);
}

struct ViewerWindowSearch {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK findViewerWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ViewerWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && lstrcmpA(className, kViewerClass) == 0 && IsWindowVisible(window)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForViewerWindow(DWORD processId, HANDLE process) {
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
        ViewerWindowSearch search = {processId, nullptr};
        EnumWindows(findViewerWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window) return search.window;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// Captures until the check finds nothing wrong or the time is up; returns the
// last problem found, or nothing.
template <typename Check>
std::string waitForFrame(HWND window, Frame* frame, Check check) {
    std::string problem = "no frame";
    for (DWORD waited = 0; waited < kWaitMs; waited += 100) {
        *frame = captureClient(window);
        if (frame->width >= 790 && frame->height >= 560) {
            problem = check(*frame);
            if (problem.empty()) return problem;
        } else {
            problem = "client area is " + std::to_string(frame->width) + " x " + std::to_string(frame->height);
        }
        Sleep(100);
    }
    return problem;
}

void pointAt(HWND window, int x, int y) {
    POINT screen = {x, y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

// Starts the viewer as a shortcut would, and checks what its window shows:
// the 127 index labels, every sidebar bitmap where the first frame puts
// them, an ingredient picture after the reader opens an entry, no temporary
// file left, and exit code 0 after the window is closed.
void checkViewer(const std::string& exe, const std::string& workingDirectory, const std::string& pictureSources) {
    // The bitmaps as listed in the folder's imagelist.txt, in list order.
    std::vector<Image> bitmaps;
    if (FILE* list = std::fopen((workingDirectory + "\\imagelist.txt").c_str(), "r")) {
        char line[300];
        while (std::fgets(line, sizeof line, list)) {
            std::string path = line;
            while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
            if (path == "EOF") break;
            bitmaps.push_back(loadBitmapImage(workingDirectory + "\\" + path));
        }
        std::fclose(list);
    }
    if (bitmaps.size() < static_cast<std::size_t>(kSidebarBitmapCount)) {
        fail("imagelist.txt lists " + std::to_string(bitmaps.size()) + " bitmaps, expected " +
             std::to_string(kSidebarBitmapCount));
        return;
    }
    Image picture = loadPngImage(pictureSources + "\\" + std::string(3 - std::to_string(kPictureEntry).size(), '0') +
                                 std::to_string(kPictureEntry) + "1.png");
    Image fallback = loadPngImage(pictureSources + "\\no.png");
    if (picture.pixels.empty() || fallback.pixels.empty()) {
        fail("cannot decode the reference pictures in " + pictureSources);
        return;
    }

    // Keep the pointer off the index, so the first frame shows entry 0 selected.
    SetCursorPos(1020, 760);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workingDirectory.c_str(),
                        &startup, &process)) {
        fail("cannot start " + exe + ": error " + std::to_string(GetLastError()));
        return;
    }
    HWND window = waitForViewerWindow(process.dwProcessId, process.hProcess);
    if (!window) {
        fail("no visible QMViewer window");
        TerminateProcess(process.hProcess, 1);
    } else {
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (lstrcmpA(caption, kCaption) != 0) fail("the window caption is not the viewer's");
        else pass("window QMViewer with the viewer's caption");

        Frame frame;
        std::string problem = waitForFrame(window, &frame, [](const Frame& f) { return indexProblems(f, 0); });
        if (problem.empty()) pass("127 index labels in their category colours, none after them");
        else fail("index: " + problem);
        problem = sidebarProblems(frame, bitmaps);
        if (problem.empty()) pass("sidebar: bitmaps 0, 11, 19-21 and 23-29 of imagelist.txt drawn pixel for pixel");
        else fail("sidebar: " + problem);

        // Hover over the entry's label, which selects it, then press: the
        // detail page opens on the ingredient picture.
        POINT label = labelOrigin(kPictureEntry);
        pointAt(window, label.x + 10, label.y + 10);
        problem = waitForFrame(window, &frame, [](const Frame& f) { return indexProblems(f, kPictureEntry); });
        if (!problem.empty()) fail("after hovering over label " + std::to_string(kPictureEntry) + ": " + problem);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.x + 10, label.y + 10));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(label.x + 10, label.y + 10));
        problem = waitForFrame(window, &frame, [&](const Frame& f) {
            double off = pictureDifference(f, picture);
            if (off <= 0.01) return std::string();
            return std::to_string(static_cast<int>(off * 100)) + " % of its pixels differ from the card of entry " +
                   std::to_string(kPictureEntry);
        });
        int toFallback = static_cast<int>(pictureDifference(frame, fallback) * 100);
        if (problem.empty() && toFallback > 20)
            pass("picture page shows the ingredient card of entry " + std::to_string(kPictureEntry) + " (" +
                 std::to_string(toFallback) + " % of its pixels differ from the fallback card)");
        else
            fail("picture page: " + (problem.empty() ? "it matches the fallback card too" : problem) + "; " +
                 std::to_string(toFallback) + " % of its pixels differ from the fallback card");

        std::vector<std::string> left = temporaryFiles(workingDirectory);
        if (!left.empty()) fail("temporary file left while the page is shown: " + left.front());

        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, kWaitMs) != WAIT_OBJECT_0) {
        fail("the viewer did not end after WM_CLOSE");
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kWaitMs);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (exitCode != 0) fail("exit code " + std::to_string(exitCode));
    else pass("exit code 0 after WM_CLOSE");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::vector<std::string> left = temporaryFiles(workingDirectory);
    if (!left.empty()) fail("temporary file left after exit: " + left.front());
    else pass("no temporary picture file left");
}

int checkInstalled(const std::string& version, const std::string& pictureSources) {
    std::string folder = installFolder();
    std::string exe = folder + "\\verdalis.exe";
    if (!exists(exe)) {
        fail(exe + " is missing");
        return 1;
    }
    pass("installed in " + folder);
    checkVersionResource(exe, version);
    checkUninstallKey(folder, version);

    Shortcut shortcut;
    if (!readShortcut(shortcutPath(), &shortcut)) {
        fail("cannot read the shortcut " + shortcutPath());
        return 1;
    }
    if (!sameText(shortcut.target, exe)) fail("the shortcut points at \"" + shortcut.target + "\"");
    if (!sameText(shortcut.workingDirectory, folder))
        fail("the shortcut starts in \"" + shortcut.workingDirectory + "\"");
    if (!shortcut.arguments.empty()) fail("the shortcut passes \"" + shortcut.arguments + "\"");
    if (sameText(shortcut.target, exe) && sameText(shortcut.workingDirectory, folder))
        pass("shortcut " + shortcutPath() + " starts verdalis.exe in the install folder");

    checkViewer(shortcut.target, shortcut.workingDirectory, pictureSources);
    return gFailures ? 1 : 0;
}

// Runs QuietUninstallString and waits for it and every process it starts (the
// NSIS uninstaller reruns itself from a copy in the temporary folder).
int uninstall() {
    std::string command;
    if (!readRegistryText("QuietUninstallString", &command)) {
        fail("no QuietUninstallString");
        return 1;
    }
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &process)) {
        fail("cannot run " + command + ": error " + std::to_string(GetLastError()));
        return 1;
    }
    if (!job || !AssignProcessToJobObject(job, process.hProcess))
        fail("cannot follow the uninstaller's processes: error " + std::to_string(GetLastError()));
    ResumeThread(process.hThread);
    WaitForSingleObject(process.hProcess, kWaitMs);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                       nullptr) ||
            accounting.ActiveProcesses == 0)
            break;
        Sleep(50);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (job) CloseHandle(job);
    if (exitCode != 0) fail(command + " returned " + std::to_string(exitCode));
    else pass(command + " returned 0");

    if (exists(installFolder())) fail(installFolder() + " is still there");
    if (exists(shortcutPath())) fail(shortcutPath() + " is still there");
    if (uninstallKeyExists()) fail("the uninstall key is still there");
    if (!gFailures) pass("install folder, shortcut and uninstall key are gone");
    return gFailures ? 1 : 0;
}

// The code-page warning: started with `commandLine`, a program either shows a
// dialog whose text names the system locale (answered with OK) or goes on to
// a window of its own without one. It is ended as soon as that window shows.
struct WarningWatch {
    DWORD processId = 0;
    bool warned = false;
    bool wentOn = false;
};

BOOL CALLBACK namesTheSystemLocale(HWND child, LPARAM found) {
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    if (!std::wcsstr(text, L"system locale")) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

BOOL CALLBACK watchWindow(HWND window, LPARAM param) {
    auto* watch = reinterpret_cast<WarningWatch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != watch->processId || !IsWindowVisible(window)) return TRUE;
    bool warning = false;
    EnumChildWindows(window, namesTheSystemLocale, reinterpret_cast<LPARAM>(&warning));
    if (!warning) watch->wentOn = true;
    else if (!watch->warned) {
        watch->warned = true;
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

int checkCodePageWarning(const std::string& program, const std::string& expected) {
    std::string commandLine = "\"" + program + "\"";
    std::string folder = program.substr(0, program.find_last_of('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        fail("could not start " + program);
        return 1;
    }
    WarningWatch watch{process.dwProcessId};
    for (DWORD waited = 0; waited < kWaitMs && !watch.wentOn; waited += 100) {
        EnumWindows(watchWindow, reinterpret_cast<LPARAM>(&watch));
        Sleep(100);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, kWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string seen = watch.warned ? "warns" : "quiet";
    const std::string what = program + " at code page " + std::to_string(GetACP()) + " " + seen;
    if (!watch.wentOn) fail(program + " showed no window of its own");
    else if (seen != expected) fail(what + ", expected " + expected);
    else pass(what);
    return gFailures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    std::string mode = argc > 1 ? argv[1] : "";
    int result = 2;
    if (mode == "installed" && argc == 4) {
        result = checkInstalled(argv[2], argv[3]);
    } else if (mode == "viewer" && argc == 4) {
        checkViewer(std::string(argv[2]) + "\\verdalis.exe", argv[2], argv[3]);
        result = gFailures ? 1 : 0;
    } else if (mode == "warning" && argc == 4) {
        result = checkCodePageWarning(argv[2], argv[3]);
    } else if (mode == "uninstall" && argc == 2) {
        result = uninstall();
    } else {
        std::fprintf(stderr,
                     "usage: package_check installed <version> <pictures> | viewer <folder> <pictures>"
                     " | warning <program> warns|quiet | uninstall\n");
    }
    CoUninitialize();
    return result;
}
