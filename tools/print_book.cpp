// print_book: the whole encyclopedia through the viewer's own print path, for
// the book PDF. Run it in the runnable folder (it reads data and the pictures
// there) with the project's printer "Verdalis PDF" installed:
//   print_book.exe FOLDER
// writes FOLDER\book.ps, one job of every entry's pages as the print command
// makes them, entry after entry; FOLDER\pages.txt, the pages of each entry;
// and FOLDER\outline.ps, the book's bookmarks as pdfmarks (by category, then
// entry name) with the page each entry starts on. Ghostscript joins them into
// one PDF (scripts/book-pdf.sh). Exits non-zero when the job failed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/screen_layout.h"
#include "base/win32_owners.h"
#include "data/entry_loader.h"
#include "data/food_entry.h"
#include "print/print_job.h"
#include "state/viewer_state.h"

namespace {

// The headings of the outline: categories 1-7 by their index ranges, then the
// entries that belong to none.
constexpr const char* kCategoryNames[kCategoryCount + 1] = {
    "野菜", "果物", "穀類", "肉類", "魚介類", "豆・種実類", "香辛料・薬草", "その他",
};

// A Shift-JIS text as a PDF text string: UTF-16BE with its byte order mark, in hex.
std::string pdfText(const char* sjis) {
    wchar_t wide[512] = {};
    int n = MultiByteToWideChar(932, 0, sjis, -1, wide, 512);
    std::string hex = "<FEFF";
    char digits[8];
    for (int i = 0; i + 1 < n; ++i) {
        std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(wide[i]));
        hex += digits;
    }
    return hex + ">";
}

int32_t categoryOf(int32_t index) {
    for (int32_t c = 0; c < kCategoryCount + 1; ++c)
        if (index >= kCategories[c].first && index < kCategories[c].first + kCategories[c].count) return c;
    return kCategoryCount;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "book";
    ViewerState state;
    loadEntries(&state);
    attachDecoder(&state);
    OwnedDC printer{CreateDCA(nullptr, "Verdalis PDF", nullptr, nullptr)};
    const int32_t entries = count(state.entries);
    if (!printer.get() || entries == 0) {
        std::fprintf(stderr, "print_book: no printer \"Verdalis PDF\" or no entries\n");
        destroyList(state.entries);
        return 1;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hDC = printer.get();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string book = folder + "\\book.ps";
    DeleteFileA(book.c_str());  // Wine opens an existing output file without truncating it
    const std::vector<int32_t> pages = printBook(&state, dialog, book.c_str());
    std::FILE* pageList = std::fopen((folder + "\\pages.txt").c_str(), "wb");
    if (pages.size() != static_cast<std::size_t>(entries) || !pageList) {
        std::fprintf(stderr, "print_book: the job failed\n");
        if (pageList) std::fclose(pageList);
        destroyList(state.entries);
        return 1;
    }

    struct Bookmark {
        int32_t category;
        std::string title;
        int32_t page;
    };
    std::vector<Bookmark> bookmarks;
    int32_t nextPage = 1;
    for (int32_t i = 0; i < entries; ++i) {
        std::fprintf(pageList, "%d %d\n", static_cast<int>(i), static_cast<int>(pages[static_cast<std::size_t>(i)]));
        bookmarks.push_back({categoryOf(i), pdfText(at(state.entries, i)->name), nextPage});
        nextPage += pages[static_cast<std::size_t>(i)];
    }
    std::fclose(pageList);

    // Each heading opens on its first entry's page and holds its entries.
    std::FILE* outline = std::fopen((folder + "\\outline.ps").c_str(), "wb");
    if (!outline) {
        destroyList(state.entries);
        return 1;
    }
    std::fprintf(outline, "[ /Title %s /DOCINFO pdfmark\n", pdfText("Verdalis 食材と薬膳の事典").c_str());
    for (int32_t c = 0; c < kCategoryCount + 1; ++c) {
        std::vector<const Bookmark*> members;
        for (const Bookmark& b : bookmarks)
            if (b.category == c) members.push_back(&b);
        if (members.empty()) continue;
        std::fprintf(outline, "[ /Count %d /Title %s /Page %d /OUT pdfmark\n", static_cast<int>(members.size()),
                     pdfText(kCategoryNames[c]).c_str(), static_cast<int>(members.front()->page));
        for (const Bookmark* b : members)
            std::fprintf(outline, "[ /Title %s /Page %d /OUT pdfmark\n", b->title.c_str(), static_cast<int>(b->page));
    }
    std::fprintf(outline, "[ /PageMode /UseOutlines /DOCVIEW pdfmark\n");
    std::fclose(outline);
    std::printf("print_book: %d entries, %d pages\n", static_cast<int>(entries), static_cast<int>(nextPage - 1));
    destroyList(state.entries);
    return 0;
}
