#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/win32_owners.h"
#include "print/page_geometry_win.h"
#include "state/viewer_state.h"

// The project's Wine printer (scripts/printer-setup.sh), whose port turns
// every job into a PDF in build/prints.
constexpr char kPrinterName[] = "Verdalis PDF";

// A DC of the project's printer, made without the dialog.
inline OwnedDC newPrinterDC() { return OwnedDC{CreateDCA(nullptr, kPrinterName, nullptr, nullptr)}; }

// A dialog record as the print dialog returns it, with dc as its hDC.
PRINTDLGA dialogFor(HDC dc);

// A viewer state that owns an entry list (and the decoder library when asked).
struct PrintState {
    ViewerState state;
    PrintState() = default;
    PrintState(const PrintState&) = delete;
    PrintState& operator=(const PrintState&) = delete;
    ~PrintState();
    // Reads a scrambled data file; false when it gives no entry.
    bool loadDataFile(const std::string& path);
    bool loadDecoder(const std::string& dllPath);
};

// A folder for one test's output, reachable from Wine (Z:) and the host.
std::string testOutputFolder();
std::string unixPathOf(const std::string& windowsPath);

// Runs a host shell command (Ghostscript) and waits for it; false on a
// non-zero status or after timeoutMs.
bool runHostCommand(const std::string& command, DWORD timeoutMs);

// One rendered page in grey levels, 255 white.
struct GreyPage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
    uint8_t at(int32_t x, int32_t y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Pixels darker than `below` in [left, right) x [top, bottom), clipped to the page.
    int32_t inkIn(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t below = 250) const;
};

// Renders a PostScript file with Ghostscript, one page per entry.
std::vector<GreyPage> renderPostScript(const std::string& psPath, int32_t dpi);
// Number of "%%Page:" comments in a PostScript file.
int32_t postScriptPageCount(const std::string& psPath);
std::string readWholeFile(const std::string& path);

// Device pixels (300 dpi) to pixels of a page rendered at dpi.
constexpr int32_t scaled(int32_t devicePixels, int32_t dpi) { return devicePixels * dpi / 300; }
