#include "render/text_pages.h"

#include "base/section_titles.h"
#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "render/scroll_rule.h"
#include "state/viewer_state.h"

namespace {

constexpr int kSymptomLeft = 215;
constexpr int kSymptomTop = 130;
constexpr int kSymptomStep = 20;

void drawColumn(HDC dc, const char* text, int left, int top, int bottom) {
    drawWrapped(dc, text, RECT{left, top, kColumnRight, bottom});
}

struct LineMetrics {
    int height;
    int leading;
    int step() const { return height + leading; }
};

LineMetrics lineMetrics(HDC dc) {
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    return {tm.tmHeight, tm.tmExternalLeading};
}

// One scrolling section under the title line; a second text, if any, follows
// the first directly and scrolls with it.
void drawScrollingSection(ViewerState* state, const char* title, const char* first, const char* second) {
    HDC dc = state->memDC.get();
    LineMetrics m = lineMetrics(dc);
    int start = kTitleTop + m.step();
    RECT column{kColumnLeft, kTitleTop, kColumnRight, kPageBottom};
    int firstHeight = measureText(first, dc, column);
    int height = firstHeight + (second ? measureText(second, dc, column) : 0);
    int bottom = state->pageBottom;
    ScrolledText text = applyScrollRule(start, textExtent(height, m.height, m.leading), bottom, state->scroll);
    state->scroll = text.scroll;

    SetBkColor(dc, kWhite);
    drawColumn(dc, first, kColumnLeft, text.top, bottom);
    if (second) drawColumn(dc, second, kColumnLeft, text.top + firstHeight, bottom);
    if (text.top < start) fillSolid(dc, RECT{kColumnLeft, text.top, kColumnRight, start}, kWhite);
    SetBkColor(dc, kTitleBackground);
    drawColumn(dc, title, kColumnLeft, kTitleTop, bottom);
}

// A fixed first section and a second one that scrolls behind its own title.
void drawTwoSections(ViewerState* state, const char* firstTitle, const char* first, const char* secondTitle,
                     const char* second) {
    HDC dc = state->memDC.get();
    LineMetrics m = lineMetrics(dc);
    int firstHeight = measureText(first, dc, RECT{kColumnLeft, kTitleTop, kColumnRight, kPageBottom});
    int secondTitleTop = kTitleTop + m.step() + firstHeight + m.height;
    int start = secondTitleTop + m.step();
    int height = measureText(second, dc, RECT{kColumnLeft, kTitleTop, kColumnRight, kPageBottom});
    int bottom = state->pageBottom;
    ScrolledText text = applyScrollRule(start, textExtent(height, m.height, m.leading), bottom, state->scroll);
    state->scroll = text.scroll;

    SetBkColor(dc, kWhite);
    drawColumn(dc, second, kColumnLeft, text.top, bottom);
    if (text.top < start) fillSolid(dc, RECT{kColumnLeft, text.top, kColumnRight, start}, kWhite);
    SetBkColor(dc, kTitleBackground);
    drawColumn(dc, secondTitle, kColumnLeft, secondTitleTop, bottom);
    drawColumn(dc, firstTitle, kColumnLeft, kTitleTop, bottom);
    SetBkColor(dc, kWhite);
    drawColumn(dc, first, kColumnLeft, kTitleTop + m.step(), bottom);
}

}  // namespace

int measureText(const char* text, HDC dc, const RECT& rect) { return measureWrapped(dc, text, rect); }

void drawEpisodePage(ViewerState* state, const FoodEntry& entry) {
    drawScrollingSection(state, kEpisodeTitle, textOf(entry.episode), nullptr);
}

void drawKampoPage(ViewerState* state, const FoodEntry& entry) {
    drawScrollingSection(state, kKampoTitle, textOf(entry.kampo), nullptr);
}

void drawEffectPage(ViewerState* state, const FoodEntry& entry) {
    drawScrollingSection(state, kEffectTitle, textOf(entry.effectSummary), textOf(entry.effectDetail));
}

void drawWesternPage(ViewerState* state, const FoodEntry& entry) {
    drawTwoSections(state, kComponentsTitle, textOf(entry.components), kImmunityTitle, immunityText(entry));
}

void drawAdvicePage(ViewerState* state, const FoodEntry& entry) {
    drawTwoSections(state, kAdviceTitle, textOf(entry.advice), kSupplementTitle, supplementText(entry));
}

void drawSymptomsPage(ViewerState* state, const FoodEntry& entry) {
    HDC dc = state->memDC.get();
    SetBkColor(dc, kTitleBackground);
    TextOutA(dc, kColumnLeft, kTitleTop, kSymptomsTitle, sizeof kSymptomsTitle - 1);
    SetBkColor(dc, kWhite);
    for (int32_t i = 0; i < entry.symptomCount; ++i) {
        drawWrapped(dc, entry.symptoms[i],
                    RECT{kSymptomLeft, kSymptomTop + kSymptomStep * i, kColumnRight, kPageBottom});
    }
}
