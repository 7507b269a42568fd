#include <gtest/gtest.h>

#include <functional>

#include "tests/support/entry_builder.h"
#include "tools/content_pack.h"

namespace {

using Book = std::vector<SourceFile>;

Book sampleBook() {
    Book book;
    for (EntrySource& e : sampleEntries(127)) book.push_back({"entries/" + std::to_string(e.index) + ".yaml", e});
    return book;
}

// The style sheet's rules that pack checks: the cautions it demands (errors),
// the one-voice variants of style.tsv (errors) and phrases that more than two
// entries share (warnings). Each rule breaks once and is kept once.
TEST(ContentRules, PackReportsEachRuleWhereItIsBrokenAndOnlyThere) {
    const std::string kidney = "腎臓の病気でカリウムを制限されている人は量に気をつける。";
    const std::string phrase = "ワルファリンを飲んでいる人は";  // 14 characters
    struct Case {
        const char* what;
        std::function<void(Book&)> change;
        const char* expected;  // an error or a warning as pack prints it; empty: pack says nothing
    };
    const Case cases[] = {
        {"potassium at the threshold",
         [](Book& b) {
             b[9].entry.pairs = {{"カリウム（mg）", 400}};
         },
         "entries/9.yaml: entry 9 (entry9): field pairs[0]: カリウム（mg） 400 (400 mg or more per 100 g), and no "
         "sentence names both 「カリウム」 and 「腎臓」: the kidney caution is missing"},
        {"potassium below it",
         [](Book& b) {
             b[9].entry.pairs = {{"カリウム（mg）", 399}};
         },
         ""},
        {"kidney caution in one sentence",
         [&](Book& b) {
             b[9].entry.pairs = {{"カリウム（mg）", 690}};
             b[9].entry.supplement = kidney;
         },
         ""},
        {"kidney and potassium in two sentences",
         [](Book& b) {
             b[9].entry.pairs = {{"カリウム（mg）", 690}};
             b[9].entry.advice = "カリウムが多い。\n　腎臓の病気の人は気をつける。";
         },
         "field pairs[0]: カリウム（mg） 690"},
        {"vitamin K at the threshold",
         [](Book& b) {
             b[9].entry.pairs = {{"ビタミンK（μg）", 150}};
         },
         "entry 9 (entry9): field pairs[0]: ビタミンK（μg） 150 (150 μg or more per 100 g), and no sentence names "
         "「ワルファリン」: the warfarin caution is missing"},
        {"vitamin K below it",
         [](Book& b) {
             b[9].entry.pairs = {{"ビタミンK（μg）", 149}};
         },
         ""},
        {"warfarin caution",
         [](Book& b) {
             b[9].entry.pairs = {{"ビタミンK（μg）", 270}};
             b[9].entry.advice = "ワルファリンを服用中の人は、1日に食べる量を医師に相談する。";
         },
         ""},
        {"honey in the dish",
         [](Book& b) {
             b[9].entry.ingredients.push_back({"はちみつ", "大さじ1"});
         },
         "entry 9 (entry9): field ingredients[1].name: honey is used or recommended, and no sentence names "
         "「1歳未満」: the infant caution is missing"},
        {"honey recommended", [](Book& b) { b[9].entry.effectDetail = "蜂蜜を加えて飲むとよい。"; },
         "entry 9 (entry9): field effectDetail: honey is used"},
        {"honey with the infant caution",
         [](Book& b) {
             b[9].entry.ingredients.push_back({"はちみつ", "大さじ1"});
             b[9].entry.advice = "はちみつは1歳未満の乳児には与えない。";
         },
         ""},
        {"honey only in the story", [](Book& b) { b[9].entry.episode = "古代の人はハチミツを薬とした。"; }, ""},
        {"formula with licorice", [](Book& b) { b[9].entry.kampo = "性は平。桂枝人参湯に配合される。"; },
         "entry 9 (entry9): field kampo: 「桂枝人参湯」 contains 甘草, and no sentence names 「偽アルドステロン症」: "
         "the "
         "licorice caution is missing"},
        {"licorice caution",
         [](Book& b) {
             b[9].entry.kampo =
                 "葛根湯に配合される。甘草を含むので、長く続けると偽アルドステロン症を起こすことがある。";
         },
         ""},
        {"formula without licorice", [](Book& b) { b[9].entry.kampo = "大柴胡湯・五苓散・辛夷清肺湯に配合される。"; },
         ""},
        {"one-voice variant", [](Book& b) { b[9].entry.advice = "栄養を摂るには、まとめて摂りすぎない。"; },
         "entry 9 (entry9): field advice: 「摂る」: the style sheet writes 「とる」"},
        {"たん as phlegm", [](Book& b) { b[9].entry.symptoms[0] = "咳・たん"; },
         "field symptoms[0]: 「たん」: the style sheet writes 「痰」"},
        {"たん in other words", [](Book& b) { b[9].entry.advice = "たんぱく質が多く、いったん冷ます。"; }, ""},
        {"度 as a temperature", [](Book& b) { b[9].entry.steps[0] = "180度のオーブンで焼く。"; },
         "field steps[0]: 「0度」: the style sheet writes 「0℃」"},
        {"度 in other words", [](Book& b) { b[9].entry.advice = "一度に食べず、程度を守り、温度に気をつける。"; }, ""},
        {"生姜 in the recipe", [](Book& b) { b[9].entry.steps[0] = "生姜をすりおろす。"; },
         "field steps[0]: 「生姜」: the style sheet writes 「しょうが」"},
        {"生姜 as headword, crude drug and formula",
         [](Book& b) {
             b[9].entry.name = "生姜";
             b[9].entry.chineseName = "生姜（しょうきょう）";
             b[9].entry.kampo = "当帰四逆加呉茱萸生姜湯は偽アルドステロン症に注意。生姜（しょうきょう）。";
         },
         ""},
        {"a phrase in three entries",
         [&](Book& b) {
             b[3].entry.advice = "葉は" + phrase + "控える。";
             b[17].entry.advice = "根も" + phrase + "量に注意。";
             b[50].entry.supplement = "実でも" + phrase + "気をつける。";
         },
         "warning: the phrase 「ワルファリンを飲んでいる人は」 is in 3 entries: 3 (advice), 17 (advice), 50 "
         "(supplement); say it in each entry's own words"},
        {"13 characters in three entries",
         [](Book& b) {
             for (int i : {3, 17, 50}) b[i].entry.advice = "あ" + std::to_string(i) + "ワルファリンを飲んでいる人";
         },
         ""},
        {"near-copies around one phrase",
         [](Book& b) {
             for (int i : {3, 17, 50}) b[i].entry.advice = "体を冷やすので、冷え性の人や胃腸の弱い人は控える。";
             b[60].entry.advice = "冷え性の人や胃腸の弱い人は控える。";
         },
         "warning: 4 entries share runs of 14 or more characters around 「冷え性の人や胃腸の弱い人は控える。」: 3 "
         "(advice 「体を冷やすので、冷え性の人や胃腸の弱い人は控える。」), 17"},
        {"a nutrient list in three entries",
         [](Book& b) {
             for (int i : {3, 17, 50})
                 b[i].entry.components = std::to_string(i) + "ビタミンC、カリウム、食物繊維やカルシウム";
         },
         ""},
    };
    std::vector<Diagnostic> diagnostics;
    const std::vector<StyleRule> style = readStyleRules(VERDALIS_SOURCE_DIR "/content/style.tsv", diagnostics);
    ASSERT_TRUE(diagnostics.empty());
    for (const Case& c : cases) {
        Book book = sampleBook();
        c.change(book);
        diagnostics.clear();
        std::string data = packEntries(book, diagnostics, style);
        std::string reported;
        for (const Diagnostic& d : diagnostics) reported += formatDiagnostic(d) + "\n";
        std::string expected = c.expected;
        if (expected.empty()) {
            EXPECT_EQ(reported, "") << c.what;
        } else {
            EXPECT_NE(reported.find(expected), std::string::npos) << c.what << ":\n" << reported;
            EXPECT_EQ(data.empty(), expected.rfind("warning:", 0) != 0) << c.what << ": errors stop pack";
        }
    }
}

}  // namespace
