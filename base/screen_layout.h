#pragma once

#include <cstdint>

// Where the viewer draws what, in pixels of its 800 x 600 frame, and in which
// colours (0x00BBGGRR, as GDI takes them). Shared by the viewer, the printout
// and the sidebar art generator, so that each fact is written once.

// The frame: the window's size and the back buffer's.
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// Colours.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBodyText = 0x7C4325;         // every text on white, and the index labels
constexpr uint32_t kTitleBackground = 0xD2D2D2;  // section titles, the open tab, printed headings
constexpr uint32_t kLabelBackground = 0x646464;  // header labels and closed tabs
constexpr uint32_t kSelectedBackground = 0x323232;
constexpr uint32_t kSelectedText = 0xFFFFFF;
constexpr uint32_t kOpenTabText = 0x000000;

// The sidebar: eleven slots of buttons left of a 10-pixel strip.
constexpr int kSidebarWidth = 180;
constexpr int kStripWidth = 10;
constexpr int kSidebarSlotCount = 11;
constexpr int kSidebarSlotHeight = 50;
constexpr int kCategorySlotCount = 8;  // slots 0-7 choose a list; 8 print, 9 none, 10 quit
constexpr int kPrintSlot = 8;
constexpr int kQuitSlot = 10;
constexpr int kCommandSlotGap = 18;  // between slot 7 and slot 8
constexpr int kSlotShift = 5;        // a category button moves this far right per step from the current one
// A category button seven steps from the current one (slot 0 or 7 against the
// other) shows only this many columns from its left: every label ends before it.
constexpr int kNarrowestTab = kSidebarWidth - kSlotShift * (kCategorySlotCount - 1);
static_assert(kNarrowestTab == 145);

// Top y of sidebar slot 0-10.
constexpr int sidebarSlotTop(int slot) {
    return slot < kCategorySlotCount ? kSidebarSlotHeight * slot : kSidebarSlotHeight * slot + kCommandSlotGap;
}

// Positions in the list of sidebar bitmaps (imagelist.txt): the strip of each
// category 0-7, three that are loaded but never drawn, the buttons of slots 0-7
// when current, then those of the command slots 8-10, then the buttons of
// slots 0-7 when not current.
constexpr int kStripBitmaps = 0;
constexpr int kSpareBitmaps = kStripBitmaps + kCategorySlotCount;
constexpr int kCurrentButtonBitmaps = kSpareBitmaps + 3;
constexpr int kCommandButtonBitmaps = kCurrentButtonBitmaps + kCategorySlotCount;
constexpr int kOtherButtonBitmaps = kCommandButtonBitmaps + (kSidebarSlotCount - kCategorySlotCount);
// The build reads this line for the art's file list: keep it a plain number.
constexpr int kSidebarBitmapCount = 30;
static_assert(kSidebarBitmapCount == kOtherButtonBitmaps + kCategorySlotCount);
static_assert(kCommandButtonBitmaps == 19 && kOtherButtonBitmaps == 22);

// Bitmap position of sidebar slot 0-10's button.
constexpr int sidebarButtonBitmap(int slot, int currentCategory) {
    if (slot >= kCategorySlotCount) return kCommandButtonBitmaps + slot - kCategorySlotCount;
    return (slot == currentCategory ? kCurrentButtonBitmaps : kOtherButtonBitmaps) + slot;
}

// Categories 1-7 are contiguous ranges of entry indices; entries after the
// last range belong to none and appear only in the all-entries list.
constexpr int32_t kCategoryCount = 7;
struct CategoryRow {
    int32_t first;
    int32_t count;
    uint32_t background;  // of the entry's index label
};
constexpr CategoryRow kCategories[kCategoryCount + 1] = {
    {0, 45, 0x41CFD7}, {45, 28, 0x4BDC6E}, {73, 3, 0xD2C882},   {76, 6, 0x6C67FF},
    {82, 8, 0x788CBE}, {90, 14, 0xE596C4}, {104, 18, 0xCD9C9C}, {122, 5, 0xC8C8C8},  // the last: no category
};

// The index lists: 26 labels a column, columns 120 pixels apart.
constexpr int kListLeft = 200;
constexpr int kListColumnWidth = 120;
constexpr int kListRowHeight = 20;
constexpr int kListRowsPerColumn = 26;

// The detail page.
constexpr int kPageLeft = 200;  // header, tab bar and tab pages
// The header above the tab bar: the name in the 40-pixel font, then grey
// labels, each followed by its value, on two rows.
constexpr int kHeaderTop = 10;        // the name, the " 漢名 " label and its box
constexpr int kHeaderSecondRow = 50;  // " 薬味 ", " 薬性 ", " 旬 " and their values
constexpr int kNameLeft = kPageLeft;
struct HeaderLabel {
    const char* text;  // as drawn, padded with a space each side
    int x;
    int y;
};
constexpr HeaderLabel kChineseNameLabel{" 漢名 ", 430, kHeaderTop};
constexpr HeaderLabel kTasteLabel{" 薬味 ", 430, kHeaderSecondRow};
constexpr HeaderLabel kNatureLabel{" 薬性 ", 560, kHeaderSecondRow};
constexpr HeaderLabel kSeasonLabel{" 旬 ", 680, kHeaderSecondRow};
// The Chinese name is word-wrapped in this box, two 18-pixel lines high.
constexpr int kChineseNameBoxLeft = 480;
constexpr int kChineseNameBoxRight = 780;
constexpr int kChineseNameBoxBottom = kHeaderSecondRow;
constexpr int kTasteLeft = 480;
constexpr int kNatureLeft = 610;
constexpr int kSeasonLeft = 710;
constexpr int kTitleTop = 110;    // the first title line under the tab bar
constexpr int kColumnLeft = 210;  // the tab pages' text column
constexpr int kColumnRight = 770;
constexpr int kPageBottom = 580;  // the text column's bottom in a full 600-pixel-high frame
constexpr int kPageMargin = 20;   // white kept below the column's last line
constexpr int kTabCount = 8;      // tab 0 is the picture page and has no label

// The tab bar: tabs 1-7, each label drawn at its x, hit strictly inside its
// interval while 80 < y < 100.
constexpr int kTabBarTop = 80;
constexpr int kTabBarBottom = 100;
struct TabLabel {
    const char* text;  // the label as drawn, padded with a space each side
    int x;
    int hitLeft, hitRight;
};
constexpr TabLabel kTabLabels[kTabCount - 1] = {
    {" エピソード ", 200, 200, 295}, {" 漢方医学 ", 300, 300, 379}, {" 西洋医学 ", 384, 384, 463},
    {" 医療効果 ", 468, 468, 547},   {" 対応病状 ", 552, 552, 634}, {" 料理 ", 636, 639, 683},
    {" アドバイス ", 687, 687, 775},
};
