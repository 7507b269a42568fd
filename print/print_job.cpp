#include "print/print_job.h"

#include <cstdio>
#include <iterator>

#include "base/text_drawing.h"
#include "base/win32_owners.h"
#include "data/food_entry.h"
#include "print/page_geometry_win.h"
#include "print/printed_sections.h"
#include "state/viewer_state.h"

namespace {

constexpr DWORD kDialogFlags = PD_HIDEPRINTTOFILE | PD_RETURNDC | PD_NOPAGENUMS;
constexpr int32_t kRuleWidth = 3;
constexpr int32_t kRuleUnits = 5;

using SectionPrinter = int32_t (*)(const FoodEntry&, const PRINTDLGA&, const PageGeometry&, int32_t, ViewerState*,
                                   int32_t);

template <int32_t (*print)(const FoodEntry&, const PRINTDLGA&, const PageGeometry&, int32_t, int32_t)>
int32_t withoutState(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                     ViewerState*, int32_t draw) {
    return print(entry, dialog, geometry, y, draw);
}

// Indexed by tab number; tab 0 (the picture tab) prints no section.
constexpr SectionPrinter kTabSections[] = {
    nullptr,
    withoutState<printEpisodeSection>,
    withoutState<printKampoSection>,
    withoutState<printWesternSection>,
    withoutState<printEffectSection>,
    withoutState<printSymptomsSection>,
    printDishSection,
    withoutState<printAdviceSection>,
};
static_assert(std::size(kTabSections) == kTabCount, "one entry per tab");

// The sections after the episode, in page order; each may move to a new page.
constexpr SectionPrinter kBreakableSections[] = {
    kTabSections[2], kTabSections[3], kTabSections[4], kTabSections[5], kTabSections[6], kTabSections[7],
};

// One document on a printer DC. A document whose StartDocA failed has no pages
// and is not ended; a document in which a later call fails is aborted, so the
// printer never receives half a job as if it were whole.
class Document {
public:
    Document(HDC dc, const char* name, const char* outputPath) : dc_(dc) {
        std::snprintf(name_, sizeof name_, "%s", name);
        DOCINFOA info{};
        info.cbSize = sizeof info;
        info.lpszDocName = name_;
        info.lpszOutput = outputPath;
        open_ = StartDocA(dc_, &info) > 0;
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document() {
        if (!open_) return;
        if (inPage_ && EndPage(dc_) <= 0) {
            AbortDoc(dc_);
            return;
        }
        if (EndDoc(dc_) <= 0) AbortDoc(dc_);
    }

    bool open() const { return open_; }
    int32_t pagesStarted() const { return pages_; }
    bool startPage() {
        if (!open_) return false;
        if (inPage_ && EndPage(dc_) <= 0) return fail();
        inPage_ = StartPage(dc_) > 0;
        if (inPage_) ++pages_;
        return inPage_ || fail();
    }

private:
    bool fail() {
        AbortDoc(dc_);
        open_ = false;
        inPage_ = false;
        return false;
    }

    HDC dc_;
    char name_[kDocumentNameSize] = {};
    bool open_ = false;
    bool inPage_ = false;
    int32_t pages_ = 0;
};

const FoodEntry* entryAt(const ViewerState* state, int32_t index) {
    if (!state || index < 0 || index >= count(state->entries)) return nullptr;
    return at(state->entries, index);
}

}  // namespace

void formatDocumentName(char (&name)[kDocumentNameSize], int32_t index) {
    std::snprintf(name, sizeof name, "TEST%d", static_cast<int>(index));
}

int32_t printRule(const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y, int32_t draw) {
    if (draw) {
        OwnedPen pen{CreatePen(PS_SOLID, kRuleWidth, RGB(0, 0, 0))};
        SelectionScope usePen{dialog.hDC, pen.get()};
        MoveToEx(dialog.hDC, geometry.marginLeft, y, nullptr);
        LineTo(dialog.hDC, geometry.marginRight, y);
    }
    return y + kRuleUnits * geometry.unitY;
}

namespace {

// The whole entry from a new page of an open document, over as many pages as
// it needs; false when a page could not be started.
bool printEntryPages(ViewerState* state, const FoodEntry& entry, const PRINTDLGA& dialog, Document& document) {
    PageGeometry geometry;
    computePageGeometry(dialog, &geometry);
    if (!document.startPage()) return false;

    int32_t y = printTitleBlock(entry, dialog, geometry, state, 1);
    y = printRule(dialog, geometry, y, 1);
    // The episode always starts on page 1 and is not tested against the bottom.
    y = printEpisodeSection(entry, dialog, geometry, y, 1) + 2 * geometry.lineGap;
    for (SectionPrinter print : kBreakableSections) {
        // A section that would reach the bottom moves whole to a new page; it is
        // tested only once, so one taller than a page is cut off there.
        if (print(entry, dialog, geometry, y, state, 0) >= geometry.marginBottom) {
            if (!document.startPage()) return false;
            y = geometry.marginTop;
        }
        y = print(entry, dialog, geometry, y, state, 1) + 2 * geometry.lineGap;
    }
    return true;
}

}  // namespace

void printWholeEntry(ViewerState* state, int32_t index, const PRINTDLGA& dialog, const char* outputPath) {
    const FoodEntry* entry = entryAt(state, index);
    if (!entry) return;
    char name[kDocumentNameSize];
    formatDocumentName(name, index);
    Document document{dialog.hDC, name, outputPath};
    printEntryPages(state, *entry, dialog, document);
}

std::vector<int32_t> printBook(ViewerState* state, const PRINTDLGA& dialog, const char* outputPath) {
    std::vector<int32_t> pages;
    if (!state) return pages;
    Document document{dialog.hDC, "Verdalis", outputPath};
    for (int32_t index = 0; index < count(state->entries); ++index) {
        const int32_t before = document.pagesStarted();
        if (!printEntryPages(state, *at(state->entries, index), dialog, document)) return {};
        pages.push_back(document.pagesStarted() - before);
    }
    return pages;
}

int32_t printTabSection(ViewerState* state, const PRINTDLGA& dialog, int32_t index, int32_t tab, int32_t draw) {
    const FoodEntry* entry = entryAt(state, index);
    if (!entry) return 1;
    PageGeometry geometry;
    computePageGeometry(dialog, &geometry);
    int32_t y = printTitleBlock(*entry, dialog, geometry, state, draw);
    y = printRule(dialog, geometry, y, draw);
    if (tab > 0 && tab < kTabCount) kTabSections[tab](*entry, dialog, geometry, y, state, draw);
    return 1;
}

void printCurrentTab(ViewerState* state, const PRINTDLGA& dialog, const char* outputPath) {
    if (!entryAt(state, state ? state->selected : -1)) return;
    char name[kDocumentNameSize];
    formatDocumentName(name, state->selected);
    Document document{dialog.hDC, name, outputPath};
    if (!document.startPage()) return;
    printTabSection(state, dialog, state->selected, state->tab, 1);
}

void printSelectedEntry(HWND, ViewerState* state) {
    // The dialog has no owner: the main window keeps taking pointer input
    // while it is open.
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = kDialogFlags;
    dialog.nFromPage = dialog.nToPage = dialog.nMinPage = dialog.nMaxPage = 1;
    dialog.nCopies = 1;
    BOOL confirmed = PrintDlgA(&dialog);
    // The dialog may hand back its setting blocks even when it was cancelled.
    // Freed in reverse order of declaration: the DC first, then the blocks.
    OwnedGlobal devNames{dialog.hDevNames};
    OwnedGlobal devMode{dialog.hDevMode};
    OwnedDC printerDC{dialog.hDC};
    if (confirmed && dialog.hDC) {
        for (WORD copy = 0; copy < dialog.nCopies; ++copy) {
            if (dialog.Flags & PD_SELECTION) {
                printCurrentTab(state, dialog);
            } else {
                printWholeEntry(state, state->selected, dialog);
            }
        }
    }
}
