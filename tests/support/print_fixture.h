#pragma once

#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/win32_owners.h"
#include "data/food_entry.h"
#include "print/page_geometry_win.h"
#include "state/viewer_state.h"

// The project's Wine printer (scripts/printer-setup.sh); its port turns every
// job into a PDF in build/prints.
constexpr char kPrinterName[] = "Verdalis PDF";

// The fixture's entries: a short one; one long enough for several pages; one
// without symptoms, immunity, supplement or dish rows and with season 0.
constexpr int kShortEntry = 0;
constexpr int kLongEntry = 1;
constexpr int kEmptyEntry = 2;

// The parts of a printed entry, in page order.
enum Part { kTitle, kRule, kEpisode, kKampo, kWestern, kEffect, kSymptoms, kDish, kAdvice, kPartCount };
constexpr const char* kPartNames[] = {"title",  "rule",     "episode", "kampo", "western",
                                      "effect", "symptoms", "dish",    "advice"};

// One rendered page in grey levels, 255 white.
struct GreyPage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
    // Pixels darker than `below` in [left, right) x [top, bottom), clipped to the page.
    int32_t inkIn(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t below = 250) const;
};

// The project's printer, its page geometry, the entries above in `state`, and
// a fresh output folder for the test: a Wine path on Z:, which the host reads
// without the "Z:".
class PrintTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { releaseViewerState(&state); }
    const FoodEntry& entry(int index) const { return *at(state.entries, index); }
    // A part of an entry printed from y (the title block from the top margin)
    // with the fixture's dialog; the y below it.
    int32_t printPart(Part part, const FoodEntry& e, int32_t y, int32_t draw, ViewerState* s) const;
    // Starts a document on the printer that goes to psPath.
    void startDocument();
    // Renders a PostScript or PDF file with Ghostscript at 300 dpi (one page
    // pixel per device pixel); no pages when Ghostscript fails.
    std::vector<GreyPage> render(const std::string& path) const;

    OwnedDC printer{CreateDCA(nullptr, kPrinterName, nullptr, nullptr)};
    PRINTDLGA dialog{};
    PageGeometry g;
    ViewerState state;
    std::string folder;
    std::string psPath;
};
