#include "print/printed_sections.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "base/dish_layout.h"
#include "base/screen_layout.h"
#include "base/section_titles.h"
#include "base/text_drawing.h"
#include "data/food_entry.h"
#include "data/picture.h"
#include "print/line_breaking_win.h"
#include "state/viewer_state.h"

namespace {

constexpr char kSymptomSeparator[] = "　";
constexpr char kFullWidthSample[] = "薬";

// A fixed-width field up to its NUL (or its full width when it has none).
std::string_view fieldOf(const char* field, std::size_t size) { return {field, strnlen(field, size)}; }

// prefix + value + suffix, appended piecewise (operator+ on a literal and a
// string trips a false -Wrestrict in GCC 12).
std::string joined(std::string_view prefix, std::string_view value, std::string_view suffix = {}) {
    std::string s;
    s.reserve(prefix.size() + value.size() + suffix.size());
    s.append(prefix).append(value).append(suffix);
    return s;
}

int32_t extentOf(HDC dc, const char* text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size.cx;
}

// A heading: the text word-wrapped in its box on the light grey of the
// screen's titles, a box behind the characters; then the paper's white again.
void drawHeading(HDC dc, const RECT& box, const char* text) {
    SetBkColor(dc, kTitleBackground);
    drawWrapped(dc, text, box);
    SetBkColor(dc, kWhite);
}

// The running state of one section: its DC, the box whose top moves down the
// page, and the body font, selected for the section's lifetime.
class Section {
public:
    Section(const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y, int32_t draw)
        : dc(dialog.hDC),
          geometry(geometry),
          draw(draw),
          box{geometry.marginLeft, y, geometry.marginRight, geometry.marginBottom},
          font_{newRomanFont(geometry.lineHeight)},
          useFont_{dc, font_.get()} {}

    void heading(const char* text) {
        if (draw) drawHeading(dc, box, text);
        advanceLine();
    }
    // A long text, broken into lines of its own; measured in both modes.
    void text(const char* text) {
        if (draw) printTextBlock(dc, text, box, geometry.lineGap, geometry.lineHeight, 1);
        box.top = printTextBlock(dc, text, box, geometry.lineGap, geometry.lineHeight, 0);
    }
    // A short item word-wrapped by the system and clipped to the box.
    void item(const char* text) {
        if (draw) drawWrapped(dc, text, box);
    }
    void advanceLine() { box.top += geometry.lineHeight + geometry.lineGap; }
    void gap(int32_t gaps) { box.top += gaps * geometry.lineGap; }

    HDC dc;
    const PageGeometry& geometry;
    int32_t draw;
    RECT box;

private:
    OwnedFont font_;
    SelectionScope useFont_;
};

struct PictureBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where the dish section puts each part. Every box reaches to the right and
// bottom margins unless said otherwise; the rows' boxes to their columns.
struct DishSectionLayout {
    RECT heading{};
    RECT dishName{};
    PictureBox picture;
    RECT ingredientHeading{};
    int32_t ingredientCount = 0;
    RECT ingredientNames[kMaxDishRows]{};
    RECT ingredientAmounts[kMaxDishRows]{};
    RECT stepHeading{};
    int32_t stepCount = 0;
    RECT stepNumbers[kMaxDishRows]{};
    RECT steps[kMaxDishRows]{};
    RECT effectHeading{};
    RECT effect{};
    RECT otherDishHeading{};
    int32_t otherDishCount = 0;
    RECT otherDishes[kMaxDishRows]{};
    int32_t bottom = 0;
};

// "%2d": step numbers right-aligned in two characters.
void formatStepNumber(char (&label)[16], int32_t n) { std::snprintf(label, sizeof label, "%2d", static_cast<int>(n)); }

// Measures with the DC's selected font, the body font.
DishSectionLayout layoutDishSection(const FoodEntry& entry, HDC dc, const PageGeometry& geometry, int32_t y) {
    const int32_t unitX = geometry.unitX;
    const int32_t lineAdvance = geometry.lineHeight + geometry.lineGap;
    DishSectionLayout layout;
    RECT box{geometry.marginLeft, y, geometry.marginRight, geometry.marginBottom};
    layout.heading = box;
    box.top += lineAdvance;
    layout.dishName = box;
    box.top += lineAdvance;

    const int32_t pictureTop = box.top;
    layout.picture = {static_cast<int>(geometry.marginLeft + 12.5 * unitX),
                      static_cast<int>(pictureTop + 9.5 * geometry.unitY), 55 * unitX, 41 * geometry.unitY};

    // Ingredients right of the picture, in a name and an amount column. A row
    // advances by the taller of its two texts, with a gap only when the name
    // is at least as tall as the amount.
    box.left = geometry.marginLeft + 90 * unitX;
    layout.ingredientHeading = box;
    box.top += lineAdvance;
    layout.ingredientCount = entry.ingredientCount;
    for (int32_t i = 0; i < layout.ingredientCount; ++i) {
        const RECT nameBox{105 * unitX, box.top, geometry.pageWidth - 70 * unitX, geometry.marginBottom};
        const RECT amountBox{150 * unitX, box.top, geometry.marginRight, geometry.marginBottom};
        layout.ingredientNames[i] = nameBox;
        layout.ingredientAmounts[i] = amountBox;
        int32_t nameHeight = measureWrapped(dc, textOf(entry.ingredientNames[static_cast<std::size_t>(i)]), nameBox);
        int32_t amountHeight = measureWrapped(dc, textOf(entry.ingredientAmounts[static_cast<std::size_t>(i)]),
                                              amountBox);
        box.top += amountHeight > nameHeight ? amountHeight : nameHeight + geometry.lineGap;
    }

    // The cooking steps start at a fixed distance below the section's top,
    // however many ingredient rows there are.
    box.left = geometry.marginLeft;
    box.right = geometry.marginRight;
    box.top = y + geometry.lineHeight + 7 * geometry.lineGap + 60 * geometry.unitY;
    layout.stepHeading = box;
    box.top += lineAdvance;
    layout.stepCount = entry.stepCount;
    for (int32_t n = 0; n < layout.stepCount; ++n) {
        char label[16];
        formatStepNumber(label, n + 1);
        layout.stepNumbers[n] = box;
        RECT stepBox = box;
        stepBox.left = geometry.marginLeft + extentOf(dc, label) + 2 * unitX;
        layout.steps[n] = stepBox;
        box.top += measureWrapped(dc, textOf(entry.steps[static_cast<std::size_t>(n)]), stepBox) + geometry.lineGap;
    }

    box.top += 2 * geometry.lineGap;
    layout.effectHeading = box;
    box.top += lineAdvance;
    layout.effect = box;
    box.top += geometry.lineHeight + 3 * geometry.lineGap;  // one line's advance, however many it wraps to

    layout.otherDishHeading = box;
    box.top += lineAdvance;
    layout.otherDishCount = entry.otherDishCount;
    for (int32_t i = 0; i < layout.otherDishCount; ++i) {
        layout.otherDishes[i] = box;
        box.top += lineAdvance;
    }
    layout.bottom = box.top;
    return layout;
}

// Draws with the body font selected.
void drawDishSection(const FoodEntry& entry, HDC dc, const DishSectionLayout& layout, ViewerState* state) {
    drawHeading(dc, layout.heading, "[料理]");
    drawWrapped(dc, joined("[", fieldOf(entry.dishName, sizeof entry.dishName), "]").c_str(), layout.dishName);
    drawEntryPicture(dc, entry.id, PictureKind::dish, decoderOf(state), layout.picture.x, layout.picture.y,
                     layout.picture.width, layout.picture.height);

    drawHeading(dc, layout.ingredientHeading, kIngredientsTitle);
    for (int32_t i = 0; i < layout.ingredientCount; ++i) {
        drawWrapped(dc, textOf(entry.ingredientNames[static_cast<std::size_t>(i)]), layout.ingredientNames[i]);
        drawWrapped(dc, textOf(entry.ingredientAmounts[static_cast<std::size_t>(i)]), layout.ingredientAmounts[i]);
    }

    drawHeading(dc, layout.stepHeading, kStepsTitle);
    for (int32_t n = 0; n < layout.stepCount; ++n) {
        char label[16];
        formatStepNumber(label, n + 1);
        drawWrapped(dc, label, layout.stepNumbers[n]);
        drawWrapped(dc, textOf(entry.steps[static_cast<std::size_t>(n)]), layout.steps[n]);
    }

    drawHeading(dc, layout.effectHeading, kDishEffectTitle);
    drawWrapped(dc, textOf(entry.dishEffect), layout.effect);

    drawHeading(dc, layout.otherDishHeading, kOtherDishesTitle);
    for (int32_t i = 0; i < layout.otherDishCount; ++i)
        drawWrapped(dc, joined(kOtherDishMark, textOf(entry.otherDishes[static_cast<std::size_t>(i)])).c_str(),
                    layout.otherDishes[i]);
}

// Where the title block puts each part. Every box reaches to the right and
// bottom margins; the lines sit at fixed tops whatever their contents.
struct TitleBlockLayout {
    PictureBox picture;
    RECT name{};  // in the name font, twice the body's height
    RECT chineseName{};
    RECT taste{};
    RECT nature{};
    // "[旬]" is spread to the width of a two-character label, so its value
    // lines up with the three values above.
    RECT seasonOpen{};
    RECT seasonMark{};
    RECT seasonClose{};
    RECT seasonValue{};
    int32_t bottom = 0;
};

// Measures the season label in a body font of its own.
TitleBlockLayout layoutTitleBlock(HDC dc, const PageGeometry& geometry) {
    const int32_t top = geometry.marginTop;
    const int32_t line = geometry.lineHeight;
    const int32_t gap = geometry.lineGap;
    const int32_t left = geometry.marginLeft;
    auto boxAt = [&](int32_t boxLeft, int32_t boxTop) {
        return RECT{boxLeft, boxTop, geometry.marginRight, geometry.marginBottom};
    };
    TitleBlockLayout layout;
    layout.picture = {geometry.marginRight - 45 * geometry.unitX, top, 40 * geometry.unitX, 30 * geometry.unitY};
    layout.name = boxAt(left, top);
    layout.chineseName = boxAt(left, top + 2 * line + gap);
    layout.taste = boxAt(left, top + 3 * line + 2 * gap);
    layout.nature = boxAt(left, top + 4 * line + 3 * gap);

    OwnedFont bodyFont = newRomanFont(line);
    SelectionScope useFont{dc, bodyFont.get()};
    const int32_t seasonTop = top + 5 * line + 4 * gap;
    const int32_t fullWidth = extentOf(dc, kFullWidthSample);
    layout.seasonOpen = boxAt(left, seasonTop);
    layout.seasonMark = boxAt(left + static_cast<int32_t>(0.5 * fullWidth + extentOf(dc, "[")), seasonTop);
    layout.seasonClose = boxAt(left + extentOf(dc, "[旬") + fullWidth, seasonTop);
    layout.seasonValue = boxAt(left + extentOf(dc, "[旬]　") + fullWidth, seasonTop);
    layout.bottom = top + 6 * line + 5 * gap;
    return layout;
}

void drawTitleBlock(const FoodEntry& entry, HDC dc, const PageGeometry& geometry, const TitleBlockLayout& layout,
                    ViewerState* state) {
    // The picture first: the name and the values print over it on their white
    // background cells when they are long enough to reach it.
    drawEntryPicture(dc, entry.id, PictureKind::ingredient, decoderOf(state), layout.picture.x, layout.picture.y,
                     layout.picture.width, layout.picture.height);
    {
        OwnedFont nameFont = newRomanFont(2 * geometry.lineHeight);
        SelectionScope useFont{dc, nameFont.get()};
        drawWrapped(dc, std::string(fieldOf(entry.name, sizeof entry.name)).c_str(), layout.name);
    }

    OwnedFont bodyFont = newRomanFont(geometry.lineHeight);
    SelectionScope useFont{dc, bodyFont.get()};
    drawWrapped(dc, joined("[漢名]　", fieldOf(entry.chineseName, sizeof entry.chineseName)).c_str(),
                layout.chineseName);
    drawWrapped(dc, joined("[薬味]　", fieldOf(entry.taste, sizeof entry.taste)).c_str(), layout.taste);
    drawWrapped(dc, joined("[薬性]　", fieldOf(entry.nature, sizeof entry.nature)).c_str(), layout.nature);
    drawWrapped(dc, "[", layout.seasonOpen);
    drawWrapped(dc, "旬", layout.seasonMark);
    drawWrapped(dc, "]", layout.seasonClose);
    char season[16];
    if (entry.seasonMonth != 0) {
        std::snprintf(season, sizeof season, "%d月", static_cast<int>(entry.seasonMonth));
    } else {
        std::snprintf(season, sizeof season, "%s", "１年中");
    }
    drawWrapped(dc, season, layout.seasonValue);
}

}  // namespace

int32_t printEpisodeSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                            int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading(kEpisodeTitle);
    s.text(textOf(entry.episode));
    return s.box.top;
}

int32_t printKampoSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                          int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading(kKampoTitle);
    s.text(textOf(entry.kampo));
    return s.box.top;
}

int32_t printWesternSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                            int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading(kComponentsTitle);
    s.text(textOf(entry.components));
    s.gap(2);
    s.heading(kImmunityTitle);
    if (hasImmunity(entry)) {
        s.text(immunityText(entry));
    } else {
        s.item(kNoImmunity);
        s.advanceLine();
    }
    return s.box.top;
}

int32_t printEffectSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                           int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading(kEffectTitle);
    s.text(textOf(entry.effectSummary));
    s.text(textOf(entry.effectDetail));
    return s.box.top;
}

int32_t printSymptomsSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                             int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading(kSymptomsTitle);
    // The lines flow like words: a line that does not end strictly left of the
    // margin starts a new row, even the first one. The separator is left out
    // of the fit test.
    int32_t x = geometry.marginLeft;
    int32_t rowTop = s.box.top;
    const int32_t separatorWidth = extentOf(s.dc, kSymptomSeparator);
    const int32_t symptomCount = entry.symptomCount;
    for (int32_t i = 0; i < symptomCount; ++i) {
        char symptom[sizeof entry.symptoms[i] + 1] = {};
        std::memcpy(symptom, entry.symptoms[i], sizeof entry.symptoms[i]);  // always NUL-terminated
        int32_t width = extentOf(s.dc, symptom);
        if (x + width >= geometry.marginRight) {
            rowTop += geometry.lineHeight + geometry.lineGap;
            x = geometry.marginLeft;
        }
        s.box.left = x;
        s.box.top = rowTop;
        s.item(symptom);
        x += width;
        s.box.left = x;
        s.item(kSymptomSeparator);
        x += separatorWidth;
    }
    s.box.left = geometry.marginLeft;
    s.box.top = rowTop + geometry.lineHeight + geometry.lineGap;
    return s.box.top;
}

int32_t printDishSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                         ViewerState* state, int32_t draw) {
    HDC dc = dialog.hDC;
    OwnedFont bodyFont = newRomanFont(geometry.lineHeight);
    SelectionScope useFont{dc, bodyFont.get()};
    const DishSectionLayout layout = layoutDishSection(entry, dc, geometry, y);
    if (draw) drawDishSection(entry, dc, layout, state);
    return layout.bottom;
}

int32_t printAdviceSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                           int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading(kAdviceTitle);
    s.text(textOf(entry.advice));
    s.gap(2);
    s.heading(kSupplementTitle);
    if (hasSupplement(entry)) {
        s.text(supplementText(entry));
    } else {
        s.item(kNoSupplement);
        s.advanceLine();
    }
    return s.box.top;
}

int32_t printTitleBlock(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry,
                        ViewerState* state, int32_t draw) {
    const TitleBlockLayout layout = layoutTitleBlock(dialog.hDC, geometry);
    if (draw) drawTitleBlock(entry, dialog.hDC, geometry, layout, state);
    return layout.bottom;
}
