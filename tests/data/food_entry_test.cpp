#include "data/food_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Fields of one entry after its key, built so a test can change one part.
struct EntryText {
    std::string head = "name,chinese,4,nature,taste,";
    std::string symptoms = "2,first,second,";
    std::string texts = "episode,components,kampo,immunity,detail,summary,";
    std::string dish = "dish,1,ingredient,amount,2,step one,step two,effect,1,other,";
    std::string tail = "advice,1,pair,7,";
    std::string supplement = "supplement,";

    std::string str(int n) const {
        return "sikibetu" + std::to_string(n) + "," + head + symptoms + texts + dish + tail + supplement + "\n";
    }
};

std::string entries(int n, const EntryText& e = {}) {
    std::string s;
    for (int i = 0; i < n; ++i) s += e.str(i);
    return s;
}

OwnedRecordList<FoodEntry> parse(const std::string& text) {
    return OwnedRecordList<FoodEntry>(parseEntries(text.data(), text.size()));
}

TEST(ParseEntries, ReadsEveryFieldInOrder) {
    // Every field of the data format in its order, each with a value of its own,
    // so reading any two fields in swapped order shows.
    EntryText e;
    e.head = "Name,Chinese,4,Nature,Taste,";
    e.symptoms = "2,Symptom A,Symptom B,";
    e.texts = "Episode,Components,Kampo,Immunity,Detail,Summary,";
    e.dish = "Dish,2,Ingredient A,Amount A,Ingredient B,Amount B,2,Step A,Step B,Effect,2,Other A,Other B,";
    e.tail = "Advice,2,Pair A,7,Pair B,9,";
    e.supplement = "Supplement,";
    auto list = parse(entries(127, e));
    ASSERT_EQ(count(list.get()), 127);
    for (int i = 0; i < 127; ++i) EXPECT_EQ(at(list.get(), i)->id, i);
    const FoodEntry& f = *at(list.get(), 5);
    EXPECT_EQ(f.loaded, 1);
    EXPECT_STREQ(f.name, "Name");
    EXPECT_STREQ(f.chineseName, "Chinese");
    EXPECT_EQ(f.seasonMonth, 4);
    EXPECT_STREQ(f.nature, "Nature");
    EXPECT_STREQ(f.taste, "Taste");
    EXPECT_EQ(f.symptomCount, 2);
    EXPECT_STREQ(f.symptoms[0], "Symptom A");
    EXPECT_STREQ(f.symptoms[1], "Symptom B");
    EXPECT_STREQ(f.episode.get(), "Episode");
    EXPECT_STREQ(f.components.get(), "Components");
    EXPECT_STREQ(f.kampo.get(), "Kampo");
    EXPECT_STREQ(f.immunity.get(), "Immunity");
    EXPECT_STREQ(f.effectDetail.get(), "Detail");
    EXPECT_STREQ(f.effectSummary.get(), "Summary");
    EXPECT_STREQ(f.dishName, "Dish");
    EXPECT_EQ(f.ingredientCount, 2);
    EXPECT_STREQ(f.ingredientNames[0].get(), "Ingredient A");
    EXPECT_STREQ(f.ingredientAmounts[0].get(), "Amount A");
    EXPECT_STREQ(f.ingredientNames[1].get(), "Ingredient B");
    EXPECT_STREQ(f.ingredientAmounts[1].get(), "Amount B");
    EXPECT_EQ(f.stepCount, 2);
    EXPECT_STREQ(f.steps[0].get(), "Step A");
    EXPECT_STREQ(f.steps[1].get(), "Step B");
    EXPECT_STREQ(f.dishEffect.get(), "Effect");
    EXPECT_EQ(f.otherDishCount, 2);
    EXPECT_STREQ(f.otherDishes[0].get(), "Other A");
    EXPECT_STREQ(f.otherDishes[1].get(), "Other B");
    EXPECT_STREQ(f.advice.get(), "Advice");
    EXPECT_EQ(f.pairCount, 2);
    EXPECT_STREQ(f.pairTexts[0].get(), "Pair A");
    EXPECT_EQ(f.pairValues[0], 7);
    EXPECT_STREQ(f.pairTexts[1].get(), "Pair B");
    EXPECT_EQ(f.pairValues[1], 9);
    EXPECT_STREQ(f.supplement.get(), "Supplement");
}

TEST(ParseEntries, FieldValueRules) {
    EntryText e;
    e.head = "\"quoted\",mid\"dle,4,nature,taste,";
    e.symptoms = "0,";
    e.texts = ",components,kampo,,line one\nline two,summary,";
    auto list = parse(entries(2, e));
    ASSERT_EQ(count(list.get()), 2);
    const FoodEntry& f = *at(list.get(), 0);
    EXPECT_STREQ(f.name, "quoted");
    EXPECT_STREQ(f.chineseName, "middle");
    EXPECT_EQ(f.symptomCount, 0);
    EXPECT_STREQ(f.episode.get(), "") << "an empty text is an empty string";
    EXPECT_EQ(f.immunity, nullptr) << "an empty immunity is absent";
    EXPECT_STREQ(f.effectDetail.get(), "line one\nline two");
}

TEST(ParseEntries, KeySearchMatchesWholeFields) {
    // A heading before the first key, and a field "sikibetu10" before entry 1's key.
    std::string text = "heading line\n" + EntryText{}.str(0) + "sikibetu10,junk,\n" + EntryText{}.str(1);
    auto list = parse(text);
    ASSERT_EQ(count(list.get()), 2);
    EXPECT_EQ(at(list.get(), 1)->id, 1);
    EXPECT_STREQ(at(list.get(), 1)->name, "name");
}

TEST(ReadLastField, EndsAtCommaOrAtTheNextKey) {
    char out[64];
    std::string byKey = "sup\nplement\nsikibetu1,";
    const char* end = byKey.data() + byKey.size();
    const char* next = readLastField(byKey.data(), end, out, sizeof out);
    EXPECT_STREQ(out, "sup\nplement\n") << "the line break before the key stays in the value";
    EXPECT_EQ(next, byKey.data() + byKey.find("sikibetu"));

    std::string byComma = "a sand\"y\" s,more";
    next = readLastField(byComma.data(), byComma.data() + byComma.size(), out, sizeof out);
    EXPECT_STREQ(out, "a sandy s");
    EXPECT_STREQ(next, "more");

    std::string trailingS = "ends with s";  // an 's' as the last byte is kept
    next = readLastField(trailingS.data(), trailingS.data() + trailingS.size(), out, sizeof out);
    EXPECT_STREQ(out, "ends with s");
}

TEST(ParseEntries, OverlongFieldsAreCutAtTheirCapacity) {
    EntryText e;
    e.head = std::string(5000, 'n') + "," + std::string(5000, 'c') + ",4,nature,taste,";
    e.texts = std::string(5000, 'x') + ",components,kampo,immunity,detail,summary,";
    auto list = parse(entries(2, e));
    ASSERT_EQ(count(list.get()), 2) << "the reader stays in step after a long field";
    const FoodEntry& f = *at(list.get(), 0);
    EXPECT_EQ(std::strlen(f.name), 29u);
    EXPECT_EQ(std::strlen(f.chineseName), 257u);
    EXPECT_EQ(std::strlen(f.episode.get()), kFieldBufferSize - 1);
    EXPECT_STREQ(f.components.get(), "components");
}

TEST(ParseEntries, TruncationKeepsDoubleByteCharactersWhole) {
    EntryText e;
    // 14 two-byte characters fill 28 of the name's 29 bytes; "a" + 14 leave no room for the 15th.
    std::string kana;
    for (int i = 0; i < 15; ++i) kana += "\x82\xA0";
    e.head = "a" + kana + ",c,4,n,t,";
    auto list = parse(entries(1, e));
    ASSERT_EQ(count(list.get()), 1);
    EXPECT_EQ(std::strlen(at(list.get(), 0)->name), 29u);
    e.head = kana + ",c,4,n,t,";
    list = parse(entries(1, e));
    EXPECT_EQ(std::strlen(at(list.get(), 0)->name), 28u) << "no lone lead byte at the end";
}

TEST(ParseEntries, CountsBeyondCapacityKeepTheFirstItemsAndStayInStep) {
    EntryText e;
    e.symptoms = "13,";
    for (int i = 0; i < 13; ++i) e.symptoms += "s" + std::to_string(i) + ",";
    e.dish = "dish,11,";
    for (int i = 0; i < 11; ++i) e.dish += "n" + std::to_string(i) + ",a" + std::to_string(i) + ",";
    e.dish += "11,";
    for (int i = 0; i < 11; ++i) e.dish += "s" + std::to_string(i) + ",";
    e.dish += "effect,0,";
    auto list = parse(entries(2, e));
    ASSERT_EQ(count(list.get()), 2);
    const FoodEntry& f = *at(list.get(), 0);
    EXPECT_EQ(f.symptomCount, 12);
    EXPECT_STREQ(f.symptoms[11], "s11");
    EXPECT_STREQ(f.episode.get(), "episode") << "the 13th symptom is skipped, not read as the episode";
    EXPECT_EQ(f.ingredientCount, 10);
    EXPECT_STREQ(f.ingredientAmounts[9].get(), "a9");
    EXPECT_EQ(f.stepCount, 10);
    EXPECT_STREQ(f.steps[9].get(), "s9");
    EXPECT_STREQ(f.dishEffect.get(), "effect") << "the 11th step is skipped";
    EXPECT_STREQ(f.supplement.get(), "supplement");
}

TEST(ParseEntries, DamagedBuffersGiveFewerEntries) {
    std::string whole = entries(127);
    struct Case {
        const char* what;
        std::string text;
        int32_t expected;
    };
    std::string missingKey = whole;
    missingKey.replace(missingKey.find("sikibetu40,"), 11, "sikibetuX0,");
    Case cases[] = {
        {"empty", "", 0},
        {"no key at all", std::string(3000, 'a'), 0},
        {"cut inside entry 3", whole.substr(0, whole.find("sikibetu3,") + 30), 3},
        {"cut inside a key", whole.substr(0, whole.find("sikibetu3,") + 5), 3},
        {"key 40 missing", missingKey, 40},
        {"huge count", "sikibetu0,n,c,1,n,t,2147483647,a,b,", 0},
    };
    for (const Case& c : cases) {
        auto list = parse(c.text);
        EXPECT_EQ(count(list.get()), c.expected) << c.what;
    }
}

TEST(ParseInteger, SaturatesAndFollowsTheIntegerRule) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"12", 12},
                 {"  -7x", -7},
                 {"+3", 3},
                 {"", 0},
                 {"abc", 0},
                 {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1},
                 {"2147483647", 2147483647},
                 {"-2147483648", -2147483647 - 1},
                 {"\n4", 4}};
    for (const Case& c : cases) EXPECT_EQ(parseInteger(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
