#include "render/detail_page.h"

#include <cstdio>
#include <cstring>

#include "app/viewer_state.h"
#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "render/frame.h"
#include "render/picture_pages.h"
#include "render/text_pages.h"

namespace {

using PageOperation = void (*)(ViewerState*, const FoodEntry&);
constexpr PageOperation kPages[kTabCount] = {drawPicturePage, drawEpisodePage,  drawKampoPage, drawWesternPage,
                                             drawEffectPage,  drawSymptomsPage, drawDishPage,  drawAdvicePage};

struct HeaderLabel {
    const char* text;
    int x;
    int y;
};
constexpr HeaderLabel kHeaderLabels[] = {
    {" 漢名 ", 430, 10}, {" 薬味 ", 430, 50}, {" 薬性 ", 560, 50}, {" 旬 ", 680, 50}};

void drawName(HDC dc, const FoodEntry& entry) {
    OwnedFont nameFont = newRomanFont(40);
    SelectionScope useFont{dc, nameFont.get()};
    SetTextColor(dc, kBodyText);
    SetBkColor(dc, kWhite);
    textOut(dc, 200, 10, entry.name);
}

void drawHeaderValues(HDC dc, const FoodEntry& entry) {
    SetTextColor(dc, kWhite);
    SetBkColor(dc, kLabelBackground);
    for (const HeaderLabel& label : kHeaderLabels) textOut(dc, label.x, label.y, label.text);

    SetTextColor(dc, kBodyText);
    SetBkColor(dc, kWhite);
    drawWrapped(dc, entry.chineseName, RECT{480, 10, 780, 50});
    textOut(dc, 480, 50, entry.taste);
    textOut(dc, 610, 50, entry.nature);
    char season[32];
    formatSeason(entry.seasonMonth, season, sizeof season);
    textOut(dc, 710, 50, season);
}

}  // namespace

void formatSeason(int32_t month, char* out, std::size_t size) {
    if (month != 0) std::snprintf(out, size, " %d月 ", static_cast<int>(month));
    else std::snprintf(out, size, "%s", " 一年中 ");
}

void drawTabPage(ViewerState* state, int32_t tab, const FoodEntry& entry) {
    if (tab < 0 || tab >= kTabCount) return;
    kPages[tab](state, entry);
}

void drawTabLabel(ViewerState* state, int32_t labelIndex) {
    if (labelIndex < 0 || labelIndex >= kTabCount - 1) return;
    const TabLabel& label = kTabLabels[labelIndex];
    textOut(state->memDC, label.x, kTabBarTop, label.text);
}

void drawDetailPage(ViewerState* state) {
    const FoodEntry* entry = at(state->entries, state->selected);
    if (!entry) return;
    HDC dc = state->memDC;
    SetTextColor(dc, kBodyText);
    SetBkColor(dc, kWhite);
    drawTabPage(state, state->tab, *entry);
    // The header band hides whatever a scrolled page drew above its title line.
    fillSolid(dc, RECT{200, -100, 1000, 110}, kWhite);
    drawName(dc, *entry);
    drawHeaderValues(dc, *entry);
    for (int32_t i = 0; i < kTabCount - 1; ++i) {
        bool open = state->tab == i + 1;
        SetBkColor(dc, open ? kTitleBackground : kLabelBackground);
        SetTextColor(dc, open ? kOpenTabText : kWhite);
        drawTabLabel(state, i);
    }
}
