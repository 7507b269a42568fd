#include "render/detail_page.h"

#include <cstdio>

#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "render/picture_pages.h"
#include "render/text_pages.h"
#include "state/viewer_state.h"

namespace {

using PageOperation = void (*)(ViewerState*, const FoodEntry&);
constexpr PageOperation kPages[kTabCount] = {drawPicturePage, drawEpisodePage,  drawKampoPage, drawWesternPage,
                                             drawEffectPage,  drawSymptomsPage, drawDishPage,  drawAdvicePage};

constexpr HeaderLabel kHeaderLabels[] = {kChineseNameLabel, kTasteLabel, kNatureLabel, kSeasonLabel};

void drawName(HDC dc, const FoodEntry& entry) {
    OwnedFont nameFont = newRomanFont(40);
    SelectionScope useFont{dc, nameFont.get()};
    SetTextColor(dc, kBodyText);
    SetBkColor(dc, kWhite);
    textOut(dc, kNameLeft, kHeaderTop, entry.name);
}

void drawHeaderValues(HDC dc, const FoodEntry& entry) {
    SetTextColor(dc, kWhite);
    SetBkColor(dc, kLabelBackground);
    for (const HeaderLabel& label : kHeaderLabels) textOut(dc, label.x, label.y, label.text);

    SetTextColor(dc, kBodyText);
    SetBkColor(dc, kWhite);
    drawWrapped(dc, entry.chineseName,
                RECT{kChineseNameBoxLeft, kHeaderTop, kChineseNameBoxRight, kChineseNameBoxBottom});
    textOut(dc, kTasteLeft, kHeaderSecondRow, entry.taste);
    textOut(dc, kNatureLeft, kHeaderSecondRow, entry.nature);
    char season[32];
    formatSeason(entry.seasonMonth, season, sizeof season);
    textOut(dc, kSeasonLeft, kHeaderSecondRow, season);
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
    textOut(state->memDC.get(), label.x, kTabBarTop, label.text);
}

void drawDetailPage(ViewerState* state) {
    const FoodEntry* entry = at(state->entries, state->selected);
    if (!entry) return;
    HDC dc = state->memDC.get();
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
