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
        EXPECT_NE(errors.find(where), std::string::npos)
            << c.what << ": " << errors;
        EXPECT_NE(errors.find(c.reason), std::string::npos) << c.what << ": " << errors;
    }
}

TEST(Pack, RejectsMissingDuplicateAndMiscountedEntries) {
    std::vector<SourceFile> sources = sampleEntries();
    sources[7].entry.index = 8;
    std::vector<Diagnostic> diagnostics;
    EXPECT_TRUE(packEntries(sources, diagnostics).empty());
    std::string errors = errorsOf(diagnostics);
    EXPECT_NE(errors.find("entries/8.yaml: entry 8 (大根8): field index: also used by entries/7.yaml"), std::string::npos) << errors;
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
            << field << "\n" << warnings;
}

TEST(Pack, BundledEncyclopediaUnpacksTo127EntriesInOrder) {
    std::vector<Diagnostic> diagnostics;
    std::vector<SourceFile> sources;
    for (const auto& item : std::filesystem::directory_iterator(VERDALIS_SOURCE_DIR "/content/entries"))
        sources.push_back(readEntryYaml(item.path().string(), diagnostics));
    std::string data = packEntries(sources, diagnostics);
    ASSERT_FALSE(data.empty()) << errorsOf(diagnostics);
    std::vector<EntrySource> back = unpackEntries(data, diagnostics);
    ASSERT_EQ(back.size(), 127u);
    for (int32_t i = 0; i < 127; ++i) EXPECT_EQ(back[i].index, i);
}

}  // namespace
