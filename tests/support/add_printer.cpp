// Registers a PostScript printer on Wine's PostScript driver inside the current
// Wine prefix and makes it the default printer. Safe to run again: an existing
// printer of that name only gets its port brought up to date.
//
// Usage: add_printer <printer name> <PPD file (Windows path)> <port>
// The port is a file path or "|command", which receives each job's PostScript.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kDriverName[] = "Verdalis PostScript";
constexpr char kDriverModule[] = "wineps.drv";
constexpr char kPpdName[] = "verdalis-a4.ppd";

int fail(const char* what) {
    std::fprintf(stderr, "add_printer: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

std::string driverDirectory() {
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, nullptr, 1, nullptr, 0, &needed);
    std::vector<char> buffer(needed + 1);
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer.data()), needed, &needed))
        return {};
    return buffer.data();
}

std::string systemFile(const char* name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

// Points an existing printer at `port` when it names another one (the
// repository may have moved since the printer was registered).
int updatePort(HANDLE printer, const char* port) {
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterA(printer, 2, buffer.data(), needed, &needed)) return fail("GetPrinterA");
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    if (info->pPortName && std::strcmp(info->pPortName, port) == 0) return 0;
    info->pPortName = const_cast<char*>(port);
    info->pSecurityDescriptor = nullptr;
    if (!SetPrinterA(printer, 2, buffer.data(), 0)) return fail("SetPrinterA");
    std::printf("add_printer: port of \"%s\" set to %s\n", info->pPrinterName, port);
    return 0;
}

int addPrinter(const char* name, const char* ppd, const char* port) {
    // Wine's driver reads the PPD from the driver folder; it does not copy it there.
    std::string directory = driverDirectory();
    if (directory.empty()) return fail("GetPrinterDriverDirectoryA");
    std::string ppdCopy = directory + "\\" + kPpdName;
    if (!CopyFileA(ppd, ppdCopy.c_str(), FALSE)) return fail("copying the PPD");

    std::string module = systemFile(kDriverModule);
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriverName);
    driver.pDriverPath = module.data();
    driver.pDataFile = ppdCopy.data();
    driver.pConfigFile = module.data();
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return fail("AddPrinterDriverExA");

    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(name);
    info.pPortName = const_cast<char*>(port);
    info.pDriverName = const_cast<char*>(kDriverName);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return fail("AddPrinterA");
    ClosePrinter(printer);
    std::printf("add_printer: added \"%s\" on %s\n", name, port);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: add_printer <printer name> <PPD file> <port>\n");
        return 2;
    }
    const char* name = argv[1];
    HANDLE existing = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    int result = 0;
    if (OpenPrinterA(const_cast<char*>(name), &existing, &access)) {
        result = updatePort(existing, argv[3]);
        ClosePrinter(existing);
    } else {
        result = addPrinter(name, argv[2], argv[3]);
    }
    if (result != 0) return result;
    if (!SetDefaultPrinterA(name)) return fail("SetDefaultPrinterA");
    return 0;
}
