#include "base/text_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/cp932.h"

namespace {

std::string sjis(const std::string& utf8) { return utf8ToCp932(utf8).value_or(""); }

// The one table of what may begin and end a line, on screen and on paper, and
// of the marks that hang past the right edge on paper.
TEST(TextLines, rulesOfEachCharacter) {
    struct Case {
        const char* characters;
        bool noLineStart;
        bool noLineEnd;
        bool hangs;
    };
    const Case cases[] = {
        {"、。,.", true, false, true},
        {"　，．・：；？！ー々～…”」）】』〕っゃョヵ℃％)]}!?:;%ｰｯﾞ", true, false, false},
        {"（「『【［｛〈《“￥＄([{$｢", false, true, false},
        {"あア漢aA1 -/ｱ", false, false, false},
    };
    for (const Case& c : cases) {
        const std::string text = sjis(c.characters);
        ASSERT_FALSE(text.empty()) << c.characters;
        for (std::size_t at = 0; at < text.size(); at += characterLength(text, at)) {
            const uint16_t code = firstCharacterCode(text.substr(at));
            const std::string shown = cp932ToUtf8(text.substr(at, characterLength(text, at))).value_or("?");
            EXPECT_EQ(isLineStartProhibited(code), c.noLineStart) << shown;
            EXPECT_EQ(isLineEndProhibited(code), c.noLineEnd) << shown;
            EXPECT_EQ(isHangingMark(code), c.hangs) << shown;
        }
    }
}

// How wrapLines applies the rules, in the system font (8 pixels a byte): ten
// full-width characters fit in 160 pixels; the eleventh is the rule under test.
TEST(TextLines, breaksWhereTheRulesAllow) {
    struct Case {
        const char* text;
        int32_t width;
        const char* lines;
    };
    const Case cases[] = {
        {"", 160, ""},
        {"あいうえおかきくけこさしすせそ", 160, "あいうえおかきくけこ|さしすせそ"},
        {"あいうえおかきくけこ。さしすせそ", 160, "あいうえおかきくけ|こ。さしすせそ"},  // carried, not hung
        {"あいうえおかきくけ5～6月", 160, "あいうえおかきくけ|5～6月"},
        {"あいうえおかきくけ（こさしすせそ", 160, "あいうえおかきくけ|（こさしすせそ"},
        {"ab cd efgh ijkl mnop qrst uvwx", 160, "ab cd efgh ijkl|mnop qrst uvwx"},
        {"あいうえおかきくけabcdefgh", 160, "あいうえおかきくけ|abcdefgh"},
        {"あいうえおかきく340μg", 160, "あいうえおかきく|340μg"},
        {"abcdefghijklmnopqrstu", 160, "abcdefghijklmnopqrst|u"},  // wider than the box: cut
        {"あ\n\nい\r\nう", 160, "あ||い|う"},
        {"あいう", 8, "あ|い|う"},  // narrower than one character: one a line
    };
    const MeasureText systemFont = [](const char*, int32_t length) { return length * 8; };
    for (const Case& c : cases) {
        const std::string text = sjis(c.text);
        std::string lines;
        for (const WrappedLine& line : wrapLines(text, c.width, systemFont))
            lines.append(lines.empty() ? "" : "|").append(text.substr(line.begin, line.length));
        EXPECT_EQ(lines, sjis(c.lines)) << c.text;
    }
}

}  // namespace
