// The content tool measures texts without Windows: this test checks its widths
// against GDI under Wine, in the fonts the viewer draws with. The tool breaks
// lines with the viewer's own wrapLines (base/text_lines), so equal widths
// mean the tool's lines are the ones the screen draws.
#include "tools/screen_text.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every character of code page 932, as its Shift-JIS bytes.
std::vector<std::string> everyCp932Character() {
    std::vector<std::string> chars;
    auto add = [&chars](std::string bytes) {
        wchar_t wide[4];
        if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 4) == 1)
            chars.push_back(bytes);
    };
    for (int c = 0x20; c <= 0x7E; ++c) add(std::string(1, static_cast<char>(c)));
    for (int c = 0xA1; c <= 0xDF; ++c) add(std::string(1, static_cast<char>(c)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) add({static_cast<char>(lead), static_cast<char>(trail)});
    }
    return chars;
}

int extent(HDC dc, const std::string& text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

struct MemoryDc {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryDc() { DeleteDC(dc); }
};

// Each font: every character's advance is the tool's rule (8 or 16 pixels in
// the system font, 18 or 36 in the name font), and a string is as wide as the
// sum of its characters (no kerning).
TEST(ScreenText, EveryCharacterHasTheToolsWidthAndStringsDoNotKern) {
    MemoryDc memory;
    HFONT name = CreateFontA(40, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, nullptr);
    std::vector<std::string> chars = everyCp932Character();
    ASSERT_GT(chars.size(), 7000u);
    for (HFONT font : {HFONT{}, name}) {
        HGDIOBJ previous = font ? SelectObject(memory.dc, font) : nullptr;
        auto toolWidth = font ? nameFontWidth : systemFontWidth;
        const char* fontName = font ? "name font" : "system font";
        int wrong = 0;
        std::string examples;
        std::string all;
        for (const std::string& c : chars) {
            if (extent(memory.dc, c) != toolWidth(c) && ++wrong <= 5)
                examples.append(" ")
                    .append(testing::PrintToString(c))
                    .append("=")
                    .append(std::to_string(extent(memory.dc, c)));
            all += c;
        }
        EXPECT_EQ(wrong, 0) << fontName << ":" << examples;
        // Every pair of neighbours in the code table, as one long text.
        EXPECT_EQ(extent(memory.dc, all), toolWidth(all)) << fontName;
        EXPECT_EQ(GetKerningPairsA(memory.dc, 0, nullptr), 0u) << fontName;
        if (previous) SelectObject(memory.dc, previous);
    }
    DeleteObject(name);
}

}  // namespace
