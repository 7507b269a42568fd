#include "print/printed_sections.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "data/food_entry.h"
#include "data/picture.h"
#include "print/line_breaking_win.h"
#include "base/text_drawing.h"

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
        SetBkColor(dc, kHeadingBackground);
        item(text);
        SetBkColor(dc, kPaperBackground);
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

void drawEntryPicture(HDC dc, int32_t id, PictureKind kind, ViewerState* state, int x, int y, int width,
                      int height) {
    Picture picture;
    loadEntryPicture(id, kind, &picture, state);
    if (picture.info) drawPicture(dc, picture, x, y, width, height);
    freePicture(&picture);
}

}  // namespace

int32_t printEpisodeSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                            int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading("[エピソード]");
    s.text(textOf(entry.episode));
    return s.box.top;
}

int32_t printKampoSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                          int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading("[漢方医学]");
    s.text(textOf(entry.kampo));
    return s.box.top;
}

int32_t printWesternSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                            int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading("[成分]");
    s.text(textOf(entry.components));
    s.gap(2);
    s.heading("[免疫]");
    if (entry.immunity) {
        s.text(entry.immunity.get());
    } else {
        s.item(kNoImmunity);
        s.advanceLine();
    }
    return s.box.top;
}

int32_t printEffectSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                           int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading("[医療効果]");
    s.text(textOf(entry.effectSummary));
    s.text(textOf(entry.effectDetail));
    return s.box.top;
}

int32_t printSymptomsSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                             int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading("[対応病状]");
    // The lines flow like words: a line that does not end strictly left of the
    // margin starts a new row, even the first one. The separator is left out
    // of the fit test.
    int32_t x = geometry.marginLeft;
    int32_t rowTop = s.box.top;
    const int32_t separatorWidth = extentOf(s.dc, kSymptomSeparator);
    const int32_t symptomCount = entry.symptomCount < kMaxSymptoms ? entry.symptomCount : kMaxSymptoms;
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
    const PageGeometry& g = geometry;
    Section s{dialog, g, y, draw};
    s.heading("[料理]");
    s.item(joined("[", fieldOf(entry.dishName, sizeof entry.dishName), "]").c_str());
    s.advanceLine();
    const int32_t pictureTop = s.box.top;

    if (draw) {
        drawEntryPicture(s.dc, entry.id, PictureKind::dish, state, static_cast<int>(g.marginLeft + 12.5 * g.unitX),
                         static_cast<int>(pictureTop + 9.5 * g.unitY), 55 * g.unitX, 41 * g.unitY);
    }

    // Ingredients right of the picture, in a name and an amount column.
    s.box.left = g.marginLeft + 90 * g.unitX;
    s.heading("[材料名]");
    const int32_t ingredientCount = entry.ingredientCount < kMaxDishRows ? entry.ingredientCount : kMaxDishRows;
    for (int32_t i = 0; i < ingredientCount; ++i) {
        RECT nameRect{105 * g.unitX, s.box.top, g.pageWidth - 70 * g.unitX, g.marginBottom};
        RECT amountRect{150 * g.unitX, s.box.top, g.pageWidth - 15 * g.unitX, g.marginBottom};
        const char* name = textOf(entry.ingredientNames[static_cast<std::size_t>(i)]);
        const char* amount = textOf(entry.ingredientAmounts[static_cast<std::size_t>(i)]);
        int32_t nameHeight = measureWrapped(s.dc, name, nameRect);
        if (draw) DrawTextA(s.dc, name, -1, &nameRect, DT_WORDBREAK);
        if (draw) DrawTextA(s.dc, amount, -1, &amountRect, DT_WORDBREAK);
        int32_t amountHeight = measureWrapped(s.dc, amount, amountRect);
        s.box.top += amountHeight > nameHeight ? amountHeight : nameHeight + g.lineGap;
    }

    // The cooking steps start at a fixed distance below the section's top,
    // however many ingredient rows there are.
    s.box.left = g.marginLeft;
    s.box.right = g.marginRight;
    s.box.top = y + g.lineHeight + 7 * g.lineGap + 60 * g.unitY;
    s.heading("[調理法]");
    const int32_t stepCount = entry.stepCount < kMaxDishRows ? entry.stepCount : kMaxDishRows;
    for (int32_t n = 1; n <= stepCount; ++n) {
        char label[16];
        std::snprintf(label, sizeof label, "%2d", static_cast<int>(n));
        s.box.left = g.marginLeft;
        s.item(label);
        s.box.left = g.marginLeft + extentOf(s.dc, label) + 2 * g.unitX;
        const char* step = textOf(entry.steps[static_cast<std::size_t>(n - 1)]);
        s.item(step);
        s.box.top += measureWrapped(s.dc, step, s.box) + g.lineGap;
        s.box.left = g.marginLeft;
    }

    s.gap(2);
    s.heading("[料理の効果]");
    s.item(textOf(entry.dishEffect));
    s.box.top += g.lineHeight + 3 * g.lineGap;  // one line's advance, however many it wraps to

    s.heading("[その他の料理例]");
    const int32_t otherCount = entry.otherDishCount < kMaxDishRows ? entry.otherDishCount : kMaxDishRows;
    for (int32_t i = 0; i < otherCount; ++i) {
        s.item(joined("○ ", textOf(entry.otherDishes[static_cast<std::size_t>(i)])).c_str());
        s.advanceLine();
    }
    return s.box.top;
}

int32_t printAdviceSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                           int32_t draw) {
    Section s{dialog, geometry, y, draw};
    s.heading("[アドバイス]");
    s.text(textOf(entry.advice));
    s.gap(2);
    s.heading("[補足]");
    if (entry.supplement && entry.supplement[0] != '\0') {
        s.text(entry.supplement.get());
    } else {
        s.item(kNoSupplement);
        s.advanceLine();
    }
    return s.box.top;
}

int32_t printTitleBlock(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry,
                        ViewerState* state, int32_t draw) {
    const PageGeometry& g = geometry;
    HDC dc = dialog.hDC;
    const int32_t top = g.marginTop;
    const int32_t line = g.lineHeight;
    const int32_t gap = g.lineGap;
    RECT r{g.marginLeft, top, g.marginRight, g.marginBottom};

    // The picture first: the name and the values print over it on their white
    // background cells when they are long enough to reach it.
    if (draw) {
        drawEntryPicture(dc, entry.id, PictureKind::ingredient, state, g.marginRight - 45 * g.unitX, top,
                         40 * g.unitX, 30 * g.unitY);
    }
    auto item = [&](const char* text, int32_t left, int32_t itemTop) {
        RECT box{left, itemTop, r.right, r.bottom};
        if (draw) DrawTextA(dc, text, -1, &box, DT_WORDBREAK);
    };
    {
        OwnedFont nameFont = newRomanFont(2 * line);
        SelectionScope useFont{dc, nameFont.get()};
        item(std::string(fieldOf(entry.name, sizeof entry.name)).c_str(), g.marginLeft, top);
    }

    OwnedFont bodyFont = newRomanFont(line);
    SelectionScope useFont{dc, bodyFont.get()};
    item(joined("[漢名]　", fieldOf(entry.chineseName, sizeof entry.chineseName)).c_str(), g.marginLeft,
         top + 2 * line + gap);
    item(joined("[薬味]　", fieldOf(entry.taste, sizeof entry.taste)).c_str(), g.marginLeft, top + 3 * line + 2 * gap);
    item(joined("[薬性]　", fieldOf(entry.nature, sizeof entry.nature)).c_str(), g.marginLeft, top + 4 * line + 3 * gap);

    // "[旬]" is spread to the width of a two-character label, so its value
    // lines up with the three values above.
    const int32_t seasonTop = top + 5 * line + 4 * gap;
    const int32_t fullWidth = extentOf(dc, kFullWidthSample);
    item("[", g.marginLeft, seasonTop);
    item("旬", g.marginLeft + static_cast<int32_t>(0.5 * fullWidth + extentOf(dc, "[")), seasonTop);
    item("]", g.marginLeft + extentOf(dc, "[旬") + fullWidth, seasonTop);
    char season[16];
    if (entry.seasonMonth != 0) {
        std::snprintf(season, sizeof season, "%d月", static_cast<int>(entry.seasonMonth));
    } else {
        std::snprintf(season, sizeof season, "%s", "１年中");
    }
    item(season, g.marginLeft + extentOf(dc, "[旬]　") + fullWidth, seasonTop);
    return top + 6 * line + 5 * gap;
}
