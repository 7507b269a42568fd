#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <vector>

#include "print/page_geometry.h"

struct ViewerState;

// Prints the entry on the detail page through the standard print dialog: one
// document per copy, the whole entry, or with the Selection range the title
// block and the open tab's section.
void printSelectedEntry(HWND hwnd, ViewerState* state);

// One document of the whole entry at `index`, over as many pages as it needs,
// on dialog.hDC. outputPath, when given, sends the document to that file
// instead of the printer's port.
void printWholeEntry(ViewerState* state, int32_t index, const PRINTDLGA& dialog, const char* outputPath = nullptr);

// The whole book in one document named "Verdalis": every entry from a new
// page, each as printWholeEntry prints it. Returns the pages of each entry,
// in order; empty when the job could not be started or a page failed.
std::vector<int32_t> printBook(ViewerState* state, const PRINTDLGA& dialog, const char* outputPath);

// One document of the title block and the section of the open tab.
void printCurrentTab(ViewerState* state, const PRINTDLGA& dialog, const char* outputPath = nullptr);

// The title block, the rule and the section of `tab` on the current page
// (tab 0: no section). Returns 1.
int32_t printTabSection(ViewerState* state, const PRINTDLGA& dialog, int32_t index, int32_t tab, int32_t draw);

// The rule under the title block; returns y + 5 units.
int32_t printRule(const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y, int32_t draw);

// "TEST<index>": every copy of an entry's job carries the same name.
constexpr int kDocumentNameSize = 20;
void formatDocumentName(char (&name)[kDocumentNameSize], int32_t index);
