#include "print/print_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "print/printed_sections.h"
#include "tests/support/print_fixture.h"
#include "tests/support/print_test_entries.h"
#include "tests/support/viewer_fixture.h"

namespace {

constexpr int32_t kDpi = 100;  // rendering resolution for the ink checks

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(printer.get(), nullptr) << "no printer \"" << kPrinterName << "\": run scripts/printer-setup.sh test";
        dialog = dialogFor(printer.get());
        computePageGeometry(dialog, &g);
        folder = testOutputFolder();
        writeDataFile(folder + "/data", printTestEntries());
        ASSERT_TRUE(entries.loadDataFile(folder + "/data"));
        psPath = folder + "/job.ps";
    }
    int32_t px(int32_t devicePixels) const { return scaled(devicePixels, kDpi); }
    // The y at which each page's last section ends and the number of pages,
    // by the page-break rule, from measuring passes only.
    struct Layout {
        int32_t pages = 1;
        std::vector<int32_t> lastEnd;   // per page: the y below its last section
        std::vector<int32_t> firstTop;  // per page: where its first section starts
    };
    Layout expectedLayout(int index) {
        using Section = int32_t (*)(const FoodEntry&, const PRINTDLGA&, const PageGeometry&, int32_t, int32_t);
        const FoodEntry& e = *at(entries.state.entries, index);
        Layout layout;
        int32_t y = printRule(dialog, g, printTitleBlock(e, dialog, g, &entries.state, 0), 0);
        layout.firstTop.push_back(y);
        y = printEpisodeSection(e, dialog, g, y, 0);
        layout.lastEnd.push_back(y);
        y += 2 * g.lineGap;
        constexpr Section kRest[] = {printKampoSection, printWesternSection, printEffectSection, printSymptomsSection,
                                     nullptr,           printAdviceSection};
        for (Section section : kRest) {
            auto measure = [&](int32_t top) {
                return section ? section(e, dialog, g, top, 0) : printDishSection(e, dialog, g, top, &entries.state, 0);
            };
            int32_t end = measure(y);
            if (end >= g.marginBottom) {
                ++layout.pages;
                y = g.marginTop;
                end = measure(y);
                layout.firstTop.push_back(y);
                layout.lastEnd.push_back(end);
            }
            layout.lastEnd.back() = end;
            y = end + 2 * g.lineGap;
        }
        return layout;
    }
    OwnedDC printer = newPrinterDC();
    PRINTDLGA dialog{};
    PageGeometry g;
    PrintState entries;
    std::string folder;
    std::string psPath;
};

TEST_F(PrintJobTest, documentNameCarriesTheEntryIndex) {
    struct NameCase {
        int32_t index;
        const char* name;
    };
    constexpr NameCase kNames[] = {{0, "TEST0"}, {9, "TEST9"}, {126, "TEST126"}};
    for (const NameCase& c : kNames) {
        char name[kDocumentNameSize];
        formatDocumentName(name, c.index);
        EXPECT_STREQ(name, c.name);
    }
    printWholeEntry(&entries.state, kShortEntry, dialog, psPath.c_str());
    EXPECT_NE(readWholeFile(psPath).find("TEST0"), std::string::npos) << "document name not in the PostScript";
}

TEST_F(PrintJobTest, longEntryBreaksBeforeTheSectionThatWouldReachTheBottom) {
    Layout layout = expectedLayout(kLongEntry);
    ASSERT_GT(layout.pages, 1);
    printWholeEntry(&entries.state, kLongEntry, dialog, psPath.c_str());
    EXPECT_EQ(postScriptPageCount(psPath), layout.pages);
    std::vector<GreyPage> pages = renderPostScript(psPath, kDpi);
    ASSERT_EQ(static_cast<int32_t>(pages.size()), layout.pages);

    const int32_t left = px(g.marginLeft);
    const int32_t right = px(g.marginRight);
    for (int32_t n = 0; n < layout.pages; ++n) {
        const GreyPage& page = pages[static_cast<std::size_t>(n)];
        // Each page's first heading sits where its first section starts ...
        EXPECT_GT(page.inkIn(left, px(layout.firstTop[n]), right, px(layout.firstTop[n] + g.lineHeight)), 0)
            << "page " << n + 1;
        // ... and nothing lies between its last section's end and the bottom:
        // the section that would have reached the margin went whole to the next page.
        EXPECT_EQ(page.inkIn(0, px(layout.lastEnd[n]) + 2, page.width, page.height), 0) << "page " << n + 1;
        EXPECT_LT(layout.lastEnd[n], g.marginBottom) << "page " << n + 1;
    }
    // Pages after the first hold no title block: white above the top margin.
    for (int32_t n = 1; n < layout.pages; ++n)
        EXPECT_EQ(pages[static_cast<std::size_t>(n)].inkIn(0, 0, pages[0].width, px(g.marginTop) - 1), 0);
}

TEST_F(PrintJobTest, selectionOfThePictureTabHoldsOnlyTitleBlockAndRule) {
    entries.state.selected = kShortEntry;
    entries.state.tab = 0;
    printCurrentTab(&entries.state, dialog, psPath.c_str());
    std::vector<GreyPage> pages = renderPostScript(psPath, kDpi);
    ASSERT_EQ(pages.size(), 1u);
    const GreyPage& page = pages[0];
    const int32_t ruleY = g.marginTop + 6 * g.lineHeight + 5 * g.lineGap;
    // The name (twice the body height) at the top of the column.
    EXPECT_GT(page.inkIn(px(g.marginLeft), px(g.marginTop), px(g.marginRight), px(g.marginTop + 2 * g.lineHeight)), 0);
    // The rule: dark across the column, on its row.
    int32_t ruleInk = page.inkIn(px(g.marginLeft), px(ruleY) - 1, px(g.marginRight), px(ruleY) + 2, 128);
    EXPECT_GE(ruleInk, px(g.marginRight) - px(g.marginLeft) - 2);
    EXPECT_EQ(page.inkIn(0, px(ruleY) - 1, px(g.marginLeft) - 2, px(ruleY) + 2), 0) << "rule starts left of the margin";
    // Nothing below the rule.
    EXPECT_EQ(page.inkIn(0, px(ruleY) + 3, page.width, page.height), 0);
}

TEST_F(PrintJobTest, selectionOfATextTabAddsOnlyThatSection) {
    entries.state.selected = kLongEntry;
    entries.state.tab = 2;  // Chinese herbal medicine: longer than the page
    printCurrentTab(&entries.state, dialog, psPath.c_str());
    std::vector<GreyPage> pages = renderPostScript(psPath, kDpi);
    ASSERT_EQ(pages.size(), 1u) << "a selection is never continued on a second page";
    const int32_t ruleY = g.marginTop + 6 * g.lineHeight + 5 * g.lineGap;
    EXPECT_GT(pages[0].inkIn(0, px(ruleY) + 3, pages[0].width, pages[0].height), 0);
}

TEST_F(PrintJobTest, failedStartDocDrawsNothing) {
    // A memory DC is no printer: StartDocA fails there, and the job must not go
    // on drawing pages it never started.
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 600, -800, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    OwnedBitmap bitmap{CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    ASSERT_NE(bits, nullptr);
    SelectionScope useBitmap{memory, bitmap.get()};
    auto inked = [&] {
        const auto* p = static_cast<const uint32_t*>(bits);
        int32_t n = 0;
        for (int i = 0; i < 600 * 800; ++i) n += (p[i] & 0xFFFFFF) != 0xFFFFFF;
        return n;
    };
    RECT all{0, 0, 600, 800};
    fillSolid(memory, all, RGB(255, 255, 255));
    PRINTDLGA memoryDialog = dialogFor(memory);
    printWholeEntry(&entries.state, kShortEntry, memoryDialog);
    entries.state.tab = 1;
    printCurrentTab(&entries.state, memoryDialog);
    EXPECT_EQ(inked(), 0);
    // The same layout drawn straight onto the DC does leave ink: the check can see it.
    printTabSection(&entries.state, memoryDialog, kShortEntry, 1, 1);
    EXPECT_GT(inked(), 0);
    DeleteDC(memory);
}

TEST_F(PrintJobTest, entryOutsideTheListPrintsNothing) {
    printWholeEntry(&entries.state, 99, dialog, psPath.c_str());
    EXPECT_FALSE(std::filesystem::exists(psPath));
    EXPECT_EQ(printTabSection(&entries.state, dialog, -1, 1, 1), 1);
}

// Counts the finished PDFs that the printer's port has written.
int32_t pdfCount(const std::string& folder) {
    int32_t n = 0;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) n += item.path().extension() == ".pdf";
    return n;
}

// Confirms the next dialog of this process from a second thread: sets the
// copies box and presses OK; gives up (with Cancel) after timeoutMs, so a
// test can never hang on a dialog or a "no printer" message box.
class DialogDriver {
public:
    DialogDriver(const char* copies, DWORD timeoutMs)
        : thread_([this, copies, timeoutMs] { run(copies, timeoutMs); }) {}
    ~DialogDriver() { thread_.join(); }
    bool confirmed() const { return confirmed_; }

private:
    static BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        char name[16] = {};
        GetClassNameA(hwnd, name, sizeof name);
        if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && std::string(name) == "#32770") {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    void run(const char* copies, DWORD timeoutMs) {
        constexpr int kCopiesBox = 1154;
        for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < timeoutMs; Sleep(20)) {
            HWND dialog = nullptr;
            EnumWindows(findDialog, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog) continue;
            HWND copiesBox = GetDlgItem(dialog, kCopiesBox);
            if (!copiesBox) {  // a message box: close it, the test fails on its result
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return;
            }
            SetWindowTextA(copiesBox, copies);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
            confirmed_ = true;
            return;
        }
    }
    std::atomic<bool> confirmed_{false};
    std::thread thread_;
};

TEST_F(PrintJobTest, dialogWithTwoCopiesSendsTwoDocuments) {
    std::string prints = std::string("Z:") + VERDALIS_SOURCE_DIR + "/build/prints";
    int32_t before = pdfCount(prints);
    entries.state.selected = kShortEntry;
    {
        DialogDriver driver{"2", 30000};
        printSelectedEntry(nullptr, &entries.state);
        ASSERT_TRUE(driver.confirmed()) << "no print dialog appeared";
    }
    // The port converts each job to PDF after its EndDoc; wait for both.
    int32_t after = before;
    for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < 60000 && after < before + 2; Sleep(100))
        after = pdfCount(prints);
    Sleep(1000);  // a third document would have arrived by now
    EXPECT_EQ(pdfCount(prints), before + 2);
}

}  // namespace
