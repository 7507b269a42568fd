// The content tool measures texts without Windows: these tests check its rules
// against GDI under Wine, in the fonts the viewer draws with.
#include "tools/screen_text.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// Draws text white-on-black into a 320 by 120 DIB section, either with
// DrawTextA(DT_WORDBREAK) in a box `width` wide or line by line with TextOutA.
std::vector<uint32_t> drawn(const std::string& text, int width, const std::vector<std::string>* lines) {
    MemoryDc memory;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 320, -120, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory.dc, bitmap);
    SetTextColor(memory.dc, 0xFFFFFF);
    SetBkColor(memory.dc, 0x000000);
    if (lines) {
        TEXTMETRICA tm = {};
        GetTextMetricsA(memory.dc, &tm);
        for (std::size_t i = 0; i < lines->size(); ++i)
            TextOutA(memory.dc, 0, static_cast<int>(i) * tm.tmHeight, (*lines)[i].data(),
                     static_cast<int>((*lines)[i].size()));
    } else {
        RECT box = {0, 0, width, 120};
        DrawTextA(memory.dc, text.data(), static_cast<int>(text.size()), &box, DT_WORDBREAK);
    }
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 320 * 120);
    SelectObject(memory.dc, previous);
    DeleteObject(bitmap);
    return pixels;
}

// The 漢名 values of the bundled entries, converted to Shift-JIS.
std::vector<std::string> bundledChineseNames() {
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator("Z:" VERDALIS_SOURCE_DIR "/content/entries")) {
        std::ifstream in(file.path());
        const std::string key = "chineseName: ";
        for (std::string line; std::getline(in, line);) {
            if (line.rfind(key, 0) != 0) continue;
            wchar_t wide[512];
            char sjis[1024];
            int n = MultiByteToWideChar(CP_UTF8, 0, &line[key.size()], static_cast<int>(line.size() - key.size()), wide,
                                        512);
            names.emplace_back(sjis, WideCharToMultiByte(932, 0, wide, n, sjis, sizeof sjis, nullptr, nullptr));
        }
    }
    return names;
}

// The tool's line breaking gives exactly the lines DrawTextA draws: for the
// 漢名 of every bundled entry in its 300-pixel box, and for texts that put each
// kind of break rule at the edge of a narrow box.
TEST(ScreenText, WrappedLinesAreTheLinesDrawTextDraws) {
    struct Case {
        std::string text;
        int width;
    };
    std::vector<Case> cases;
    for (const std::string& name : bundledChineseNames()) cases.push_back({name, 300});
    ASSERT_GE(cases.size(), 127u);
    // Ten full-width characters fit in 160 pixels; the eleventh is the rule under test.
    for (const char* mark : {"。", "、", "）", "」", "・", "ー", "っ", "ャ"})
        cases.push_back({std::string("あいうえおかきくけこ") + mark + "さしすせそ", 160});  // kept with the line before
    const char* edges[] = {
        "あいうえおかきく（けこさしすせそ",  // （ moves to the next line when its word does not fit
        "あいうえおかきくけ（こさしすせそ",  // （ does not end a line
        "あいうえおかきくけこさしすせそ",    // plain kana break anywhere
        "漢字漢字漢字漢字漢字漢字漢字漢字",  // and so do kanji
        "ab cd efgh ijkl mnop qrst uvwx",    // ASCII breaks at spaces, which are dropped
        "abc あいうえおかきくけこさし",      // ASCII before kana
        "あいうえおかきくけabcdefgh",        // an ASCII word moves whole
    };
    for (const char* e : edges) cases.push_back({e, 160});
    for (const Case& c : cases) {
        std::vector<std::string> lines = wrapSystemFontLines(c.text, c.width);
        EXPECT_TRUE(drawn(c.text, c.width, nullptr) == drawn(c.text, c.width, &lines)) << testing::PrintToString(lines);
    }
}

}  // namespace
