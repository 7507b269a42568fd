#include "tools/content_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

SourceFile sampleEntry(int32_t index) {
    EntrySource e;
    e.index = index;
    e.name = "大根" + std::to_string(index);
    e.chineseName = "蘿蔔（らふく）";
    e.seasonMonth = index % 13;
    e.nature = "涼";
    e.taste = "甘・辛";
    e.symptoms = {"咳", "消化不良"};
    e.episode = "一行目\n　二行目";
    e.components = "ビタミンC";
    e.kampo = "肺・胃に入る。";
    e.immunity = index % 10 ? "研究がある。" : "";
    e.effectSummary = "要約。";
    e.effectDetail = "詳しく。";
    e.dishName = "おでん（4人分）";
    e.ingredients = {{"大根", "1/2本"}, {"昆布", "10cm"}};
    e.steps = {"切る。", "煮る。"};
    e.dishEffect = "体が温まる。";
    e.otherDishes = {"ふろふき大根"};
    e.advice = "葉も食べる。";
    e.pairs = {{"ビタミンC（mg）", 12}};
    e.supplement = index % 8 ? "補足。" : "";
    return {"entries/" + std::to_string(index) + ".yaml", e};
}

std::vector<SourceFile> sampleEntries() {
    std::vector<SourceFile> all;
    for (int32_t i = 0; i < 127; ++i) all.push_back(sampleEntry(i));
    return all;
}

std::string errorsOf(const std::vector<Diagnostic>& diagnostics) {
    std::string s;
    for (const Diagnostic& d : diagnostics)
        if (d.error) s += formatDiagnostic(d) + "\n";
    return s;
}

TEST(Pack, RoundTripThroughUnpack) {
    std::vector<SourceFile> sources = sampleEntries();
    std::vector<Diagnostic> diagnostics;
    std::string data = packEntries(sources, diagnostics);
    ASSERT_FALSE(data.empty()) << errorsOf(diagnostics);
    EXPECT_EQ(data.find("sikibetu"), std::string::npos) << "the data file is scrambled";
    std::vector<EntrySource> back = unpackEntries(data, diagnostics);
    ASSERT_EQ(back.size(), 127u) << errorsOf(diagnostics);
    for (int32_t i = 0; i < 127; ++i) EXPECT_EQ(back[i], sources[i].entry) << "entry " << i;
}

// FNV-1a, 64 bits: a fingerprint of a whole data file.
uint64_t fingerprint(const std::string& bytes) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// The viewer reads the data file byte for byte: new checks must not change
// what pack writes for entries that pass them. The fingerprint is that of the
// sample book as pack wrote it before the screen-width and style checks.
TEST(Pack, OutputOfUnchangedEntriesStaysByteIdentical) {
    std::vector<Diagnostic> diagnostics;
    std::string data = packEntries(sampleEntries(), diagnostics);
    ASSERT_FALSE(data.empty()) << errorsOf(diagnostics);
    EXPECT_EQ(data.size(), 32067u);
    EXPECT_EQ(fingerprint(data), 0x9d4fecc62b3cc65full) << std::hex << fingerprint(data);
    std::vector<StyleRule> style = readStyleRules(VERDALIS_SOURCE_DIR "/content/style.tsv", diagnostics);
    EXPECT_EQ(packEntries(sampleEntries(), diagnostics, style), data) << errorsOf(diagnostics);
}

TEST(Pack, YamlFilesRoundTrip) {
    auto path = std::filesystem::temp_directory_path() / "verdalis-yaml-roundtrip.yaml";
    SourceFile source = sampleEntry(3);
    source.entry.ingredients[0].amount = "2";  // looks like a number, stays a text
    {
        std::ofstream out(path);
        out << writeEntryYaml(source.entry);
    }
    std::vector<Diagnostic> diagnostics;
    SourceFile back = readEntryYaml(path.string(), diagnostics);
    EXPECT_EQ(errorsOf(diagnostics), "");
    EXPECT_EQ(back.entry, source.entry);
    std::filesystem::remove(path);
}

TEST(Pack, RejectsWhatTheDataFileCannotHold) {
    struct Case {
        const char* what;
        std::function<void(EntrySource&)> damage;
        const char* field;
        const char* reason;
    };
    const Case cases[] = {
        {"comma", [](EntrySource& e) { e.episode = "a,b"; }, "field episode", "comma"},
        {"double quote", [](EntrySource& e) { e.steps[1] = "\"x\""; }, "field steps[1]", "double quote"},
        {"no cp932 form", [](EntrySource& e) { e.advice = "絵文字😀"; }, "field advice", "Shift-JIS"},
        {"si in supplement", [](EntrySource& e) { e.supplement = "basis"; }, "field supplement", "si"},
        {"name over 29 bytes", [](EntrySource& e) { e.name = std::string(16, 'x') + "大根大根大根大"; }, "field name",
         "30 bytes"},
        {"symptom over 49", [](EntrySource& e) { e.symptoms[0] = std::string(50, 'x'); }, "field symptoms[0]",
         "50 bytes"},
        {"13 symptoms", [](EntrySource& e) { e.symptoms.assign(13, "x"); }, "field symptoms", "13 items"},
        {"11 steps", [](EntrySource& e) { e.steps.assign(11, "x"); }, "field steps", "11 items"},
        {"text over 1999", [](EntrySource& e) { e.kampo = std::string(2000, 'k'); }, "field kampo", "2000 bytes"},
        {"season 13", [](EntrySource& e) { e.seasonMonth = 13; }, "field seasonMonth", "month"},
    };
    for (const Case& c : cases) {
        std::vector<SourceFile> sources = sampleEntries();
        c.damage(sources[42].entry);
        std::vector<Diagnostic> diagnostics;
        EXPECT_TRUE(packEntries(sources, diagnostics).empty()) << c.what;
        std::string errors = errorsOf(diagnostics);
        std::string where = "entries/42.yaml: entry 42 (" + sources[42].entry.name + "): " + c.field;
        EXPECT_NE(errors.find(where), std::string::npos) << c.what << ": " << errors;
        EXPECT_NE(errors.find(c.reason), std::string::npos) << c.what << ": " << errors;
    }
}

TEST(Pack, RejectsMissingDuplicateAndMiscountedEntries) {
    std::vector<SourceFile> sources = sampleEntries();
    sources[7].entry.index = 8;
    std::vector<Diagnostic> diagnostics;
    EXPECT_TRUE(packEntries(sources, diagnostics).empty());
    std::string errors = errorsOf(diagnostics);
    EXPECT_NE(errors.find("entries/8.yaml: entry 8 (大根8): field index: also used by entries/7.yaml"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("entry 7: field index: no file has this index"), std::string::npos) << errors;

    sources = sampleEntries();
    sources.pop_back();
    diagnostics.clear();
    EXPECT_TRUE(packEntries(sources, diagnostics).empty());
    EXPECT_NE(errorsOf(diagnostics).find("126 entry files, not 127"), std::string::npos);
}

TEST(Pack, WarnsAboutLayoutButPacks) {
    std::vector<SourceFile> sources = sampleEntries();
    sources[0].entry.dishEffect = std::string(36, 'x') + "あいうえおかきくけこさしすせそたちつ";  // 72 bytes
    sources[0].entry.steps[0] = std::string(68, 's');
    sources[0].entry.ingredients[0] = {"だいこんだいこんだい", "おおさじいっぱい"};  // 20 and 16 bytes
    std::vector<Diagnostic> diagnostics;
    EXPECT_FALSE(packEntries(sources, diagnostics).empty());
    std::string warnings;
    for (const Diagnostic& d : diagnostics) warnings += formatDiagnostic(d) + "\n";
    for (const char* field : {"dishEffect", "steps[0]", "ingredients[0].name", "ingredients[0].amount"})
        EXPECT_NE(warnings.find(std::string("warning: entry 0 (大根0): field ") + field), std::string::npos)
            << field << "\n"
            << warnings;
}

std::string warningsOf(const std::vector<Diagnostic>& diagnostics) {
    std::string s;
    for (const Diagnostic& d : diagnostics)
        if (!d.error) s += formatDiagnostic(d) + "\n";
    return s;
}

// The index label "N.name" in the system font (8 pixels a byte), the name in
// the 40-pixel name font (18), 薬味 and 薬性 may fill their room exactly but
// must not run into the next column or label.
TEST(Pack, RejectsTextsThatRunIntoTheNextColumnOrLabel) {
    struct Case {
        const char* what;
        int32_t index;
        std::function<void(EntrySource&)> change;
        const char* expected;  // an error naming file, entry and field; empty: packs
    };
    const Case cases[] = {
        {"label filling its column", 42, [](EntrySource& e) { e.name = "あいうえおxy"; }, ""},
        {"label 128 pixels", 42, [](EntrySource& e) { e.name = "あいうえおxyz"; },
         "entries/42.yaml: entry 42 (あいうえおxyz): field name: index label \"42.あいうえおxyz\" is 128 pixels wide "
         "in the all-entries list"},
        {"same label in its category list", 42, [](EntrySource& e) { e.name = "あいうえおxyz"; },
         "field name: index label \"42.あいうえおxyz\" is 128 pixels wide in the list of category 1"},
        {"numbered 14 in category 2", 59, [](EntrySource& e) { e.name = "キウイフルーツ"; },
         "entries/59.yaml: entry 59 (キウイフルーツ): field name: index label \"14.キウイフルーツ\" is 136 pixels "
         "wide in the list of category 2"},
        {"name under 漢名", 59, [](EntrySource& e) { e.name = "キウイフルーツ"; },
         "entry 59 (キウイフルーツ): field name: is 252 pixels wide in the 40-pixel name font; drawn from x 200 it "
         "runs into the 漢名 label at x 430"},
        {"キウイ", 59, [](EntrySource& e) { e.name = "キウイ"; }, ""},
        {"six full-width name", 5, [](EntrySource& e) { e.name = "パイナップル"; }, ""},
        {"taste meeting 薬性", 4, [](EntrySource& e) { e.taste = "甘・辛・苦"; }, ""},
        {"taste one byte over", 4, [](EntrySource& e) { e.taste = "甘・辛・苦x"; },
         "entries/4.yaml: entry 4 (大根4): field taste: is 88 pixels wide in the system font; drawn from x 480 it "
         "runs into the 薬性 label at x 560"},
        {"nature runs into 旬", 120, [](EntrySource& e) { e.nature = "微温・xyz"; },
         "entry 120 (大根120): field nature: is 72 pixels wide in the system font; drawn from x 610 it runs into "
         "the 旬 label at x 680"},
        {"漢名 on three lines", 7,
         [](EntrySource& e) {
             e.chineseName.clear();
             for (int i = 0; i < 19; ++i) e.chineseName += "漢字";
         },
         "entry 7 (大根7): field chineseName: takes 3 lines in its 300 pixels wide box, which shows 2: \"漢字\" is cut "
         "off"},
    };
    for (const Case& c : cases) {
        std::vector<SourceFile> sources = sampleEntries();
        c.change(sources[c.index].entry);
        std::vector<Diagnostic> diagnostics;
        std::string data = packEntries(sources, diagnostics);
        std::string errors = errorsOf(diagnostics);
        if (*c.expected == '\0') {
            EXPECT_FALSE(data.empty()) << c.what << ": " << errors;
        } else {
            EXPECT_TRUE(data.empty()) << c.what;
            EXPECT_NE(errors.find(c.expected), std::string::npos) << c.what << ":\n" << errors;
        }
    }
}

TEST(Pack, WarnsWhenTheChineseNameBoxBreaksInsideAWord) {
    struct Case {
        const char* chineseName;
        bool warns;
    };
    const Case cases[] = {
        {"甘藍（かんらん）・巻心菜（けんしんさい）", true},               // けんしん / さい）
        {"黒芝麻（こくしま）・胡麻仁（ごまにん）", true},                 // ごま / にん）
        {"蘿蔔（らふく）・胡蘿蔔（こらふく）・大根（だいこん）", false},  // after ・
        {"甘藍（かんらん）・巻心菜", false},                              // one line
    };
    for (const Case& c : cases) {
        std::vector<SourceFile> sources = sampleEntries();
        sources[14].entry.chineseName = c.chineseName;
        std::vector<Diagnostic> diagnostics;
        EXPECT_FALSE(packEntries(sources, diagnostics).empty()) << c.chineseName << ": " << errorsOf(diagnostics);
        std::string warnings = warningsOf(diagnostics);
        bool warned = warnings.find(
                          "entries/14.yaml: warning: entry 14 (大根14): field chineseName: the 300 pixels "
                          "wide box breaks it inside a word") != std::string::npos;
        EXPECT_EQ(warned, c.warns) << c.chineseName << ":\n" << warnings;
    }
}

TEST(Pack, RejectsStyleVariantsOutsideReadingsAndAllowedForms) {
    std::vector<Diagnostic> diagnostics;
    std::vector<StyleRule> style = parseStyleRules(
        "# variant, instead, allowed\nせき\t咳\n風邪\tかぜ\t風邪（ふうじゃ）\n", "style.tsv", diagnostics);
    ASSERT_EQ(style.size(), 2u) << errorsOf(diagnostics);
    struct Case {
        const char* kampo;
        const char* expected;  // empty: packs
    };
    const Case cases[] = {
        {"風邪をひいたときに。",
         "entries/9.yaml: entry 9 (大根9): field kampo: 「風邪」: the style sheet writes 「かぜ」"},
        {"せきが出る。せき止めに。", "field kampo: 「せき」 (2 times): the style sheet writes 「咳」"},
        {"風邪（ふうじゃ）を払う。", ""},
        {"咳（せき）を鎮める。", ""},
        {"風邪（ふうじゃ）を払い、風邪を防ぐ。", "field kampo: 「風邪」: the style sheet writes 「かぜ」"},
    };
    for (const Case& c : cases) {
        std::vector<SourceFile> sources = sampleEntries();
        sources[9].entry.kampo = c.kampo;
        diagnostics.clear();
        std::string data = packEntries(sources, diagnostics, style);
        std::string errors = errorsOf(diagnostics);
        if (*c.expected == '\0') {
            EXPECT_FALSE(data.empty()) << c.kampo << ": " << errors;
        } else {
            EXPECT_TRUE(data.empty()) << c.kampo;
            EXPECT_NE(errors.find(c.expected), std::string::npos) << c.kampo << ":\n" << errors;
        }
    }
    diagnostics.clear();
    EXPECT_FALSE(readStyleRules(VERDALIS_SOURCE_DIR "/content/style.tsv", diagnostics).empty());
    EXPECT_EQ(errorsOf(diagnostics), "");
}

TEST(Pack, WarnsAboutASentenceThatMoreThanTwoEntriesShare) {
    const std::string shared = "ワルファリンを服用している人は医師に相談する";  // 22 characters
    std::vector<SourceFile> sources = sampleEntries();
    sources[3].entry.advice = "葉も食べる。" + shared + "。";
    sources[17].entry.supplement = "　" + shared + "。\n　ほかに。";
    std::vector<Diagnostic> diagnostics;
    EXPECT_FALSE(packEntries(sources, diagnostics).empty());
    EXPECT_EQ(warningsOf(diagnostics).find(shared), std::string::npos) << "two entries may share it";

    // The kampo text's opening formula is the same everywhere, by the style sheet.
    const std::string formula = "性は平、味は甘で、脾・胃の経に入る。";
    for (SourceFile& source : sources) source.entry.kampo = formula + "ほかに。";
    diagnostics.clear();
    EXPECT_FALSE(packEntries(sources, diagnostics).empty());
    EXPECT_EQ(warningsOf(diagnostics), "");

    sources[50].entry.kampo = formula + shared;
    diagnostics.clear();
    EXPECT_FALSE(packEntries(sources, diagnostics).empty()) << errorsOf(diagnostics);
    EXPECT_NE(
        warningsOf(diagnostics)
            .find("warning: the sentence 「" + shared + "」 is in 3 entries: 3 (advice), 17 (supplement), 50 (kampo)"),
        std::string::npos)
        << warningsOf(diagnostics);
}

}  // namespace
