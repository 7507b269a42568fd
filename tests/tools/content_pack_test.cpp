#include "tools/content_pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/entry_builder.h"

namespace {

using Book = std::vector<SourceFile>;

std::string reported(const std::vector<Diagnostic>& diagnostics) {
    std::string s;
    for (const Diagnostic& d : diagnostics) s += formatDiagnostic(d) + "\n";
    return s;
}

// The first n of the entries that share a text in the cases below.
std::vector<int> sharers(int n) {
    std::vector<int> all = {3, 17, 50};
    return {all.begin(), all.begin() + n};
}

std::vector<StyleRule> styleSheet() {
    std::vector<Diagnostic> diagnostics;
    std::vector<StyleRule> style = readStyleRules(VERDALIS_SOURCE_DIR "/content/style.tsv", diagnostics);
    EXPECT_EQ(reported(diagnostics), "");
    return style;
}

// Every bundled entry comes back unchanged from the data file, read by the
// viewer's own parser, and from the YAML the tool writes when it unpacks.
TEST(Pack, BundledEntriesRoundTrip) {
    std::vector<Diagnostic> diagnostics;
    Book book;
    for (const auto& file : std::filesystem::directory_iterator(VERDALIS_SOURCE_DIR "/content/entries"))
        book.push_back(readEntryYaml(file.path().string(), diagnostics));
    std::sort(book.begin(), book.end(), [](const auto& a, const auto& b) { return a.entry.index < b.entry.index; });
    std::vector<EntrySource> back = unpackEntries(packEntries(book, diagnostics, styleSheet()), diagnostics);
    ASSERT_EQ(back.size(), book.size()) << reported(diagnostics);
    const auto yaml = std::filesystem::temp_directory_path() / "verdalis-roundtrip.yaml";
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i], book[i].entry) << book[i].path;
        std::ofstream(yaml) << writeEntryYaml(back[i]);
        EXPECT_EQ(readEntryYaml(yaml.string(), diagnostics).entry, back[i]) << book[i].path;
    }
    std::filesystem::remove(yaml);
}

// What pack refuses (errors: no data file) or warns about, each rule broken
// once and kept once, in a book of sample entries that packs without a word.
TEST(Pack, ReportsEachRuleWhereItIsBrokenAndOnlyThere) {
    const std::string phrase = "ワルファリンを飲んでいる人は";                    // 14 characters
    const std::string sentence = "ワルファリンを服用している人は医師に相談する";  // 22
    struct Case {
        const char* what;
        std::string field;  // the text of the entry set to value, and the field pack names (empty: the book)
        std::string value;
        std::string message = "";  // how pack's error or warning begins; empty: it says nothing and packs
        bool error = true;
        int entry = 9;
        std::function<void(EntrySource& e, Book& b)> change = nullptr;  // instead of setting field to value
        int sharers = 0;  // instead of the entry: the first of sharers(), each with its number before value
    };
    const Case cases[] = {
        // What the data file cannot hold.
        {"comma", "episode", "a,b", "an ASCII comma cannot be stored"},
        {"double quote", "steps[0]", "\"x\"", "an ASCII double quote cannot be stored"},
        {"no Shift-JIS form", "advice", "絵文字😀", "\"😀\" has no Shift-JIS"},
        {"si in the supplement", "supplement", "basis", "the bytes \"si\" would end it early"},
        {"50 bytes of Shift-JIS", "symptoms[0]", std::string(36, 'x') + "大根大根大根大",
         "50 bytes, over the limit of 49"},
        {"2000 bytes", "kampo", std::string(2000, 'k'), "2000 bytes, over the limit of 1999"},
        {"1999 bytes", "kampo", std::string(1999, 'k')},
        {"13 symptoms", "symptoms", "", "13 items, over the capacity of 12", true, 9,
         [](auto& e, auto&) { e.symptoms.assign(13, "x"); }},
        {"month 13", "seasonMonth", "", "must be 0 (all year) or a month 1-12", true, 9,
         [](auto& e, auto&) { e.seasonMonth = 13; }},
        {"month 12", "", "", "", true, 9, [](auto& e, auto&) { e.seasonMonth = 12; }},
        {"an index twice", "index", "", "also used by entries/7.yaml", true, 8,
         [](auto&, auto& b) { b[7].entry.index = 8; }},
        {"a file missing", "", "", "126 entry files, not 127\nentry 7: field index: no file has this index", true, 9,
         [](auto&, auto& b) { b.erase(b.begin() + 7); }},
        // What the dish page draws on more lines than it allows for.
        {"effect over its line", "dishEffect", std::string(71, 'x'), "71 bytes do not fit on the one line of 70",
         false},
        {"step over 67 bytes", "steps[0]", std::string(68, 's'), "68 bytes, over the 67 the page allows for", false},
        {"name wrapping", "ingredients[0].name", std::string(20, 'n'), "a line over 19 bytes wraps in its column",
         false},
        {"amount wrapping", "ingredients[0].amount", std::string(13, 'a'), "a line over 12 bytes wraps", false},
        // Texts the screen draws in a fixed place: they may fill their room, not run past it.
        {"label filling its column", "name", "あいうえおxy", "", true, 42},
        {"label of 128 pixels",
         "name",
         "あいうえおxyz",
         "index label \"42.あいうえおxyz\" is 128 pixels wide in the all-entries list",
         true,
         {42}},
        {"label in category 2",
         "name",
         "キウイフルーツ",
         "index label \"14.キウイフルーツ\" is 136 pixels wide in the list of category 2",
         true,
         {59}},
        {"name into 漢名", "name", "あいうえおかx",
         "is 234 pixels wide in the 40-pixel name font; drawn from x 200 it runs into the 漢名 label at x 430"},
        {"taste meeting 薬性", "taste", "甘・辛・苦"},
        {"taste one byte over", "taste", "甘・辛・苦x",
         "is 88 pixels wide in the system font; drawn from x 480 it runs into the 薬性 label at x 560"},
        {"nature into 旬", "nature", "微温・xyz",
         "is 72 pixels wide in the system font; drawn from x 610 it runs into the 旬 label at x 680"},
        {"漢名 on three lines", "chineseName", std::string(75, 'x') + "yz",
         "takes 3 lines in its 300 pixels wide box, which shows 2: \"xyz\" is cut off"},
        {"漢名 broken in a word", "chineseName", "甘藍（かんらん）・巻心菜（けんしんさい）",
         "the 300 pixels wide box breaks it inside a word", false},
        {"漢名 broken after ・", "chineseName", "蘿蔔（らふく）・胡蘿蔔（こらふく）・大根（だいこん）"},
        // The style sheet's variants (content/style.tsv).
        {"variant", "kampo", "風邪をひいたときに。",
         "「風邪」: the style sheet writes 「かぜ」; 「風邪（ふうじゃ）」 stays"},
        {"variant twice", "kampo", "せきが出る。せき止めに。", "「せき」 (2 times): the style sheet writes 「咳」"},
        {"variant in a reading", "kampo", "咳（せき）を鎮める。"},
        {"variant beside its allowed form", "kampo", "風邪（ふうじゃ）を払い、風邪を防ぐ。", "「風邪」: the style"},
        {"生姜 as headword, crude drug and formula", "", "", "", true, 9,
         [](auto& e, auto&) {
             e.name = "生姜";
             e.chineseName = "生姜（しょうきょう）";
             e.kampo = "当帰四逆加呉茱萸生姜湯は偽アルドステロン症に注意。";
         }},
        // The cautions the style sheet demands.
        {"potassium at the threshold", "pairs[0]", "",
         "カリウム（mg） 400 (400 mg or more per 100 g), and no sentence names both 「カリウム」 and 「腎臓」", true, 9,
         [](auto& e, auto&) { e.pairs[0] = NutrientPair("カリウム（mg）", 400); }},
        {"potassium below it", "", "", "", true, 9,
         [](auto& e, auto&) { e.pairs[0] = NutrientPair("カリウム（mg）", 399); }},
        {"kidney and potassium in two sentences", "pairs[0]", "", "カリウム（mg） 690", true, 9,
         [](auto& e, auto&) {
             e.pairs[0] = NutrientPair("カリウム（mg）", 690);
             e.advice = "カリウムが多い。\n　腎臓の病気の人は気をつける。";
         }},
        {"vitamin K at the threshold", "pairs[0]", "",
         "ビタミンK（μg） 150 (150 μg or more per 100 g), and no sentence names 「ワルファリン」", true, 9,
         [](auto& e, auto&) { e.pairs[0] = NutrientPair("ビタミンK（μg）", 150); }},
        {"vitamin K below it", "", "", "", true, 9,
         [](auto& e, auto&) { e.pairs[0] = NutrientPair("ビタミンK（μg）", 149); }},
        {"honey in the dish", "ingredients[0].name", "はちみつ",
         "honey is used or recommended, and no sentence names 「1歳未満」: the infant caution is missing"},
        {"honey recommended", "effectDetail", "蜂蜜を加えて飲むとよい。", "honey is used"},
        {"honey with the infant caution", "", "", "", true, 9,
         [](auto& e, auto&) {
             e.ingredients[0].name = "はちみつ";
             e.advice = "はちみつは1歳未満の乳児には与えない。";
         }},
        {"formula with licorice", "kampo", "性は平。桂枝人参湯に配合される。",
         "「桂枝人参湯」 contains 甘草, and no sentence names 「偽アルドステロン症」: the licorice caution"},
        {"licorice caution", "kampo",
         "葛根湯に配合される。甘草を含むので、長く続けると偽アルドステロン症を起こすことがある。"},
        {"formulas without licorice", "kampo", "大柴胡湯・五苓散・辛夷清肺湯に配合される。"},
        // Runs of 14 or more characters that more than two entries share.
        {"a phrase in three entries", "advice", phrase + "控える。",
         "warning: the phrase 「" + phrase + "控える。」 is in 3 entries: 3 (advice), 17 (advice), 50 (advice); say",
         false, 9, nullptr, 3},
        {"13 characters in three entries", "advice", "ワルファリンを飲んでいる人", "", true, 9, nullptr, 3},
        {"a sentence in two entries", "advice", "\n" + sentence + "。", "", true, 9, nullptr, 2},
        {"a sentence in three entries", "advice", "\n" + sentence + "。",
         "warning: the sentence 「" + sentence + "」 is in 3 entries: 3 (advice), 17 (advice), 50 (advice)", false, 9,
         nullptr, 3},
        {"the opening formula of kampo texts", "kampo", "性は平、味は甘で、脾・胃の経に入る。ほかに。", "", true, 9,
         nullptr, 3},
        {"a nutrient list in three entries", "components", "ビタミンC、カリウム、食物繊維やカルシウム", "", true, 9,
         nullptr, 3},
        {"near-copies around one phrase", "", "",
         "warning: 4 entries share runs of 14 or more characters around 「冷え性の人や胃腸の弱い人は控える。」: 3 "
         "(advice 「体を冷やすので、冷え性の人や胃腸の弱い人は控える。」), 17",
         false, 9,
         [](auto&, auto& b) {
             for (int i : {3, 17, 50}) b[i].entry.advice = "体を冷やすので、冷え性の人や胃腸の弱い人は控える。";
             b[60].entry.advice = "冷え性の人や胃腸の弱い人は控える。";
         }},
    };
    const std::vector<StyleRule> style = styleSheet();
    for (const Case& c : cases) {
        Book book;
        for (EntrySource& e : sampleEntries(127)) book.push_back({"entries/" + std::to_string(e.index) + ".yaml", e});
        if (c.change) c.change(book[c.entry].entry, book);
        for (int i : c.change ? std::vector<int>() : c.sharers == 0 ? std::vector{c.entry} : sharers(c.sharers)) {
            std::string value = (c.sharers ? std::to_string(i) : "") + c.value;
            forEachText(book[i].entry, [&](const std::string& field, std::string& text, std::size_t) {
                if (field == c.field) text = value;
            });
        }
        std::vector<Diagnostic> diagnostics;
        std::string data = packEntries(book, diagnostics, style);
        std::string expected = c.message;
        if (!c.field.empty() && !expected.empty() && !c.sharers)
            expected = book[c.entry].path + ": " + (c.error ? "" : "warning: ") + "entry " + std::to_string(c.entry) +
                       " (" + book[c.entry].entry.name + "): field " + c.field + ": " + c.message;
        if (expected.empty()) EXPECT_EQ(reported(diagnostics), "") << c.what;
        else
            EXPECT_NE(reported(diagnostics).find(expected), std::string::npos) << c.what << ":\n"
                                                                               << reported(diagnostics);
        EXPECT_EQ(data.empty(), !expected.empty() && c.error) << c.what << ": errors, and only errors, stop pack";
    }
}

}  // namespace
