// Registers a PostScript printer on Wine's PostScript driver inside the current
// Wine prefix and makes it the default printer. Safe to run again: an existing
// printer of that name gets its settings, the port included, brought up to date
// (the repository may have moved since it was registered).
//
// Usage: add_printer <printer name> <PPD file (Windows path)> <port>
// The port is a file path or "|command", which receives each job's PostScript.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "add_printer: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: add_printer <printer name> <PPD file> <port>\n");
        return 2;
    }
    // Wine's driver reads the PPD from the driver folder; it does not copy it there.
    char folder[MAX_PATH] = {};
    DWORD size = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &size))
        return fail("GetPrinterDriverDirectoryA");
    std::string ppd = std::string(folder) + "\\verdalis-a4.ppd";
    if (!CopyFileA(argv[2], ppd.c_str(), FALSE)) return fail("copying the PPD");
    GetSystemDirectoryA(folder, MAX_PATH);
    std::string module = std::string(folder) + "\\wineps.drv";
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>("Verdalis PostScript");
    driver.pDriverPath = driver.pConfigFile = module.data();
    driver.pDataFile = ppd.data();
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return fail("AddPrinterDriverExA");

    PRINTER_INFO_2A info{};
    info.pPrinterName = argv[1];
    info.pPortName = argv[3];
    info.pDriverName = driver.pName;
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS || !OpenPrinterA(argv[1], &printer, &access))
            return fail("AddPrinterA");
        if (!SetPrinterA(printer, 2, reinterpret_cast<BYTE*>(&info), 0)) return fail("SetPrinterA");
    }
    ClosePrinter(printer);
    if (!SetDefaultPrinterA(argv[1])) return fail("SetDefaultPrinterA");
    std::printf("add_printer: \"%s\" on %s\n", argv[1], argv[3]);
    return 0;
}
