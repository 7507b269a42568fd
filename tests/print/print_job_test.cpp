#include "print/print_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/print_fixture.h"

namespace {

class PrintJobTest : public PrintTest {
protected:
    // Where each page's first section starts and its last one ends, by the
    // page-break rule, from measuring passes only.
    struct Layout {
        std::vector<int32_t> firstTop;
        std::vector<int32_t> lastEnd;
    };
    Layout expectedLayout(int index) {
        const FoodEntry& e = entry(index);
        int32_t y = printPart(kRule, e, printPart(kTitle, e, 0, 0, &state), 0, &state);
        Layout layout{{y}, {printPart(kEpisode, e, y, 0, &state)}};
        for (int p = kKampo; p < kPartCount; ++p) {
            y = layout.lastEnd.back() + 2 * g.lineGap;
            if (printPart(Part(p), e, y, 0, &state) >= g.marginBottom) {
                y = g.marginTop;
                layout.firstTop.push_back(y);
                layout.lastEnd.push_back(y);
            }
            layout.lastEnd.back() = printPart(Part(p), e, y, 0, &state);
        }
        return layout;
    }
    // Below the title block and its rule.
    int32_t belowTheRule() const { return g.marginTop + 6 * g.lineHeight + 5 * g.lineGap + 3; }
};

TEST_F(PrintJobTest, longEntryBreaksBeforeTheSectionThatWouldReachTheBottom) {
    Layout layout = expectedLayout(kLongEntry);
    ASSERT_GT(layout.firstTop.size(), 1u);
    printWholeEntry(&state, kLongEntry, dialog, psPath.c_str());
    std::vector<GreyPage> pages = render(psPath);
    ASSERT_EQ(pages.size(), layout.firstTop.size());
    for (std::size_t n = 0; n < pages.size(); ++n) {
        const GreyPage& page = pages[n];
        // Each page's first heading sits where its first section starts, and
        // nothing lies between its last section's end and the bottom: the
        // section that would have reached the margin went whole to the next page.
        EXPECT_GT(page.inkIn(g.marginLeft, layout.firstTop[n], g.marginRight, layout.firstTop[n] + g.lineHeight), 0)
            << "page " << n + 1;
        EXPECT_EQ(page.inkIn(0, layout.lastEnd[n] + 2, page.width, page.height), 0) << "page " << n + 1;
        EXPECT_LT(layout.lastEnd[n], g.marginBottom) << "page " << n + 1;
        // Pages after the first hold no title block: white above the top margin.
        EXPECT_EQ(page.inkIn(0, 0, page.width, n > 0 ? g.marginTop - 1 : 0), 0) << "page " << n + 1;
    }
    // Every copy of an entry's job carries the entry's index in its name.
    std::ifstream ps(psPath);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(ps), {}).find("TEST1"), std::string::npos);
}

// The title block, the rule and the open tab's section, on one page even when
// the section is longer: nothing below the rule for the picture tab (0).
TEST_F(PrintJobTest, selectionPrintsTheTitleBlockAndTheOpenTabOnOnePage) {
    state.selected = kLongEntry;
    for (int32_t tab : {0, 2}) {
        state.tab = tab;
        psPath = folder + "/tab" + std::to_string(tab) + ".ps";
        printCurrentTab(&state, dialog, psPath.c_str());
        std::vector<GreyPage> pages = render(psPath);
        ASSERT_EQ(pages.size(), 1u) << "tab " << tab;
        const GreyPage& page = pages[0];
        const int32_t ruleY = belowTheRule() - 3;
        EXPECT_GT(page.inkIn(g.marginLeft, g.marginTop, g.marginRight, g.marginTop + 2 * g.lineHeight), 0);
        // The rule: dark across the column, on its row, and not left of the margin.
        EXPECT_GE(page.inkIn(g.marginLeft, ruleY - 1, g.marginRight, ruleY + 2, 128), g.marginRight - g.marginLeft - 2);
        EXPECT_EQ(page.inkIn(0, ruleY - 1, g.marginLeft - 2, ruleY + 2), 0);
        EXPECT_EQ(page.inkIn(0, belowTheRule(), page.width, page.height) > 0, tab > 0) << "tab " << tab;
    }
}

TEST_F(PrintJobTest, failedStartDocOrAnEntryOutsideTheListPrintsNothing) {
    // A memory DC is no printer: StartDocA fails there, and the job must not
    // go on drawing pages it never started. The DC collects the bounds of
    // whatever is drawn on it.
    OwnedDC memory{CreateCompatibleDC(nullptr)};
    PRINTDLGA memoryDialog = dialog;
    memoryDialog.hDC = memory.get();
    SetBoundsRect(memory.get(), nullptr, DCB_ENABLE | DCB_RESET);
    printWholeEntry(&state, kShortEntry, memoryDialog);
    state.tab = 1;
    printCurrentTab(&state, memoryDialog);
    RECT drawn{};
    EXPECT_EQ(GetBoundsRect(memory.get(), &drawn, 0), DCB_RESET);
    // The same layout drawn straight onto the DC does show: the check can see it.
    printTabSection(&state, memoryDialog, kShortEntry, 1, 1);
    EXPECT_EQ(GetBoundsRect(memory.get(), &drawn, 0), DCB_SET);

    printWholeEntry(&state, 99, dialog, psPath.c_str());
    EXPECT_FALSE(std::filesystem::exists(psPath));
    EXPECT_EQ(printTabSection(&state, dialog, -1, 1, 1), 1);
}

std::set<std::string> pdfsIn(const std::string& folder) {
    std::set<std::string> pdfs;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec))
        if (item.path().extension() == ".pdf") pdfs.insert(item.path().generic_string());
    return pdfs;
}

// Through the dialog (driven from a second thread: copies 2, then OK; a
// message box instead, such as "no printer", is closed and the test fails),
// to the printer's port: two documents of the whole entry.
TEST_F(PrintJobTest, dialogWithTwoCopiesSendsTwoWholeEntries) {
    const std::string prints = std::string("Z:") + VERDALIS_SOURCE_DIR + "/build/prints";
    const std::set<std::string> before = pdfsIn(prints);
    std::atomic<bool> confirmed{false};
    std::thread driver([&confirmed] {
        for (int polls = 0; polls < 1500; ++polls) {
            Sleep(20);
            HWND found = FindWindowA("#32770", nullptr);
            if (!found || !IsWindowVisible(found)) continue;
            HWND copies = GetDlgItem(found, 1154);
            if (copies) SetWindowTextA(copies, "2");
            confirmed = copies != nullptr;
            PostMessageA(found, WM_COMMAND, IDOK, 0);
            return;
        }
    });
    state.selected = kShortEntry;
    printSelectedEntry(nullptr, &state);
    driver.join();
    ASSERT_TRUE(confirmed) << "no print dialog appeared";
    // Wine runs the port command at each EndDoc and waits for it: both PDFs
    // are there when the call returns. They hold the whole entry, not the
    // open tab's selection (the picture tab: nothing below the rule).
    std::vector<std::string> added;
    for (const std::string& pdf : pdfsIn(prints))
        if (!before.count(pdf)) added.push_back(pdf);
    ASSERT_EQ(added.size(), 2u);
    std::vector<GreyPage> pages = render(added[0]);
    ASSERT_EQ(pages.size(), expectedLayout(kShortEntry).firstTop.size());
    EXPECT_GT(pages[0].inkIn(0, belowTheRule(), pages[0].width, pages[0].height), 0);
}

}  // namespace
