#include "base/text_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/content_pack.h"
#include "tools/cp932.h"

namespace {

// The viewer's system font: 8 pixels a byte.
const MeasureText kSystemFont = [](const char*, int32_t length) { return length * 8; };

std::string sjis(const std::string& utf8) { return utf8ToCp932(utf8).value_or(""); }

std::string joined(std::string_view text, int32_t width) {
    std::string out;
    for (const WrappedLine& line : wrapLines(text, width, kSystemFont))
        out.append(out.empty() ? "" : "|").append(text.substr(line.begin, line.length));
    return out;
}

// Ten full-width characters fit in 160 pixels; the eleventh is the rule under test.
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
        {"あいうえおかきくけこ」さしすせそ", 160, "あいうえおかきくけ|こ」さしすせそ"},
        {"あいうえおかきくけこっさしすせそ", 160, "あいうえおかきくけ|こっさしすせそ"},
        {"あいうえおかきくけ5～6月", 160, "あいうえおかきくけ|5～6月"},
        {"あいうえおかきくけ（こさしすせそ", 160, "あいうえおかきくけ|（こさしすせそ"},
        {"ab cd efgh ijkl mnop qrst uvwx", 160, "ab cd efgh ijkl|mnop qrst uvwx"},
        {"あいうえおかきくけabcdefgh", 160, "あいうえおかきくけ|abcdefgh"},
        {"あいうえおかきく340μg", 160, "あいうえおかきく|340μg"},
        {"abcdefghijklmnopqrstu", 160, "abcdefghijklmnopqrst|u"},  // wider than the box: cut
        {"あ\n\nい", 160, "あ||い"},
        {"あいう", 8, "あ|い|う"},  // narrower than one character: one a line
    };
    for (const Case& c : cases) EXPECT_EQ(joined(sjis(c.text), c.width), sjis(c.lines)) << c.text;
}

// Every text of every bundled entry, at the widths the viewer and the printout
// use and some narrower: no line begins with a character that may not begin
// one, nor ends with one that may not end one.
TEST(TextLines, noBundledTextBreaksTheRules) {
    std::vector<Diagnostic> diagnostics;
    std::vector<std::string> texts;
    for (const auto& file : std::filesystem::directory_iterator(VERDALIS_SOURCE_DIR "/content/entries")) {
        SourceFile source = readEntryYaml(file.path().string(), diagnostics);
        forEachText(source.entry,
                    [&](const std::string&, std::string& value, std::size_t) { texts.push_back(sjis(value)); });
    }
    ASSERT_GE(texts.size(), 127u * 10);
    int lines = 0;
    for (int32_t width : {96, 145, 300, 560}) {
        for (const std::string& text : texts) {
            std::vector<WrappedLine> wrapped = wrapLines(text, width, kSystemFont);
            for (std::size_t i = 0; i + 1 < wrapped.size(); ++i) {
                const WrappedLine& line = wrapped[i];
                const WrappedLine& next = wrapped[i + 1];
                if (line.length == 0 || next.length == 0 || text[line.begin + line.length] == '\n') continue;
                std::string_view shown = std::string_view(text).substr(line.begin, line.length);
                std::size_t last = 0;
                for (std::size_t at = 0; at < shown.size(); at += characterLength(shown, at)) last = at;
                EXPECT_FALSE(isLineStartProhibited(firstCharacterCode(text.substr(next.begin))))
                    << cp932ToUtf8(std::string(shown)).value_or("?") << " | width " << width;
                EXPECT_FALSE(isLineEndProhibited(firstCharacterCode(shown.substr(last))))
                    << cp932ToUtf8(std::string(shown)).value_or("?") << " | width " << width;
                ++lines;
            }
        }
    }
    EXPECT_GT(lines, 10000);
}

}  // namespace
