// The readers of the viewer's files: entries, scrambling and the sidebar list.
#include "data/food_entry.h"
#include "data/scramble.h"
#include "data/sidebar_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <numeric>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A list with its count: "2,a0,b0,a1,b1," for listOf(2, {"a", "b"}).
std::string listOf(int n, std::initializer_list<const char*> fields) {
    std::string s = std::to_string(n) + ",";
    for (int i = 0; i < n; ++i)
        for (const char* field : fields) s += field + std::to_string(i) + ",";
    return s;
}

// Fields of one entry after its key, each with a value of its own (so that
// reading any two fields in swapped order shows), built so a test can change
// one part.
struct EntryText {
    std::string head = "Name,Chinese,4,Nature,Taste,";
    std::string symptoms = listOf(2, {"Symptom"});
    std::string texts = "Episode,Components,Kampo,Immunity,Detail,Summary,";
    std::string dish = "Dish," + listOf(2, {"Ingredient", "Amount"}) + listOf(2, {"Step"}) + "Effect," +
                       listOf(2, {"Other"});
    std::string tail = "Advice," + listOf(2, {"Pair", ""});
    std::string supplement = "Supplement,\n";

    std::string str(int n) const {
        return "sikibetu" + std::to_string(n) + "," + head + symptoms + texts + dish + tail + supplement;
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

// Parsed texts as strings (only an immunity may be absent, where left empty).
using Texts = std::vector<std::string>;

TEST(ParseEntries, ReadsEveryFieldInOrder) {
    auto list = parse(entries(127));
    ASSERT_EQ(count(list.get()), 127);
    for (int i = 0; i < 127; ++i) EXPECT_EQ(at(list.get(), i)->id, i);
    const FoodEntry& f = *at(list.get(), 5);
    EXPECT_EQ((std::vector<int32_t>{f.loaded, f.seasonMonth, f.symptomCount, f.ingredientCount, f.stepCount,
                                    f.otherDishCount, f.pairCount, f.pairValues[0], f.pairValues[1]}),
              (std::vector<int32_t>{1, 4, 2, 2, 2, 2, 2, 0, 1}));
    EXPECT_EQ((Texts{f.name, f.chineseName, f.nature, f.taste, f.symptoms[0], f.symptoms[1], f.episode.get(),
                     f.components.get(), f.kampo.get(), f.immunity.get(), f.effectDetail.get(), f.effectSummary.get()}),
              (Texts{"Name", "Chinese", "Nature", "Taste", "Symptom0", "Symptom1", "Episode", "Components", "Kampo",
                     "Immunity", "Detail", "Summary"}));
    EXPECT_EQ((Texts{f.dishName, f.ingredientNames[0].get(), f.ingredientAmounts[0].get(), f.ingredientNames[1].get(),
                     f.ingredientAmounts[1].get(), f.steps[0].get(), f.steps[1].get(), f.dishEffect.get(),
                     f.otherDishes[0].get(), f.otherDishes[1].get(), f.advice.get(), f.pairTexts[0].get(),
                     f.pairTexts[1].get(), f.supplement.get()}),
              (Texts{"Dish", "Ingredient0", "Amount0", "Ingredient1", "Amount1", "Step0", "Step1", "Effect", "Other0",
                     "Other1", "Advice", "Pair0", "Pair1", "Supplement"}));
}

TEST(ParseEntries, CountsBeyondCapacityKeepTheFirstItemsAndStayInStep) {
    EntryText e;
    e.symptoms = listOf(13, {"s"});
    e.dish = "Dish," + listOf(11, {"n", "a"}) + listOf(11, {"t"}) + "Effect," + listOf(11, {"o"});
    e.tail = "Advice," + listOf(11, {"p", ""});
    auto list = parse(entries(2, e));
    ASSERT_EQ(count(list.get()), 2);
    const FoodEntry& f = *at(list.get(), 0);
    EXPECT_EQ((std::vector<int32_t>{f.symptomCount, f.ingredientCount, f.stepCount, f.otherDishCount, f.pairCount,
                                    f.pairValues[9]}),
              (std::vector<int32_t>{12, 10, 10, 10, 10, 9}));
    // The last item kept of each list, and the field after it.
    EXPECT_EQ(
        (Texts{f.symptoms[11], f.episode.get(), f.ingredientAmounts[9].get(), f.steps[0].get(), f.steps[9].get(),
               f.dishEffect.get(), f.otherDishes[9].get(), f.advice.get(), f.pairTexts[9].get(), f.supplement.get()}),
        (Texts{"s11", "Episode", "a9", "t0", "t9", "Effect", "o9", "Advice", "p9", "Supplement"}));
}

// Quotes are dropped; an empty text is "", an empty immunity absent; a field
// too long for its buffer is cut at a whole character and the reader stays in
// step; only a whole field "sikibetuN" starts entry N. The supplement ends at
// a comma, at the "si" of the next key or at the end of the buffer.
TEST(ParseEntries, FieldRules) {
    std::string kana;  // 15 two-byte characters
    for (int i = 0; i < 15; ++i) kana += "\x82\xA0";
    EntryText first, second, third;
    first.head = "\"quoted\",mid\"dle,4,nature,taste,";
    first.texts = ",components,kampo,,line one\nline two,summary,";
    first.supplement = "a sand\"y\" s\n";
    // "a" and 14 characters fill the name's 29 bytes; 14 alone leave one free.
    second.head = "a" + kana + "," + std::string(5000, 'c') + ",4,nature,taste,";
    second.texts = std::string(5000, 'x') + ",components,kampo,immunity,detail,summary,";
    third.head = kana + ",c,4,n,t,";
    third.supplement = "ends with s";
    auto list = parse("heading line\n" + first.str(0) + "sikibetu10,junk,\n" + second.str(1) + third.str(2));
    ASSERT_EQ(count(list.get()), 3);
    const FoodEntry& f = *at(list.get(), 0);
    const FoodEntry& g = *at(list.get(), 1);
    EXPECT_EQ((Texts{f.name, f.chineseName, f.episode.get(), f.effectDetail.get(), f.supplement.get(),
                     g.components.get(), at(list.get(), 2)->supplement.get()}),
              (Texts{"quoted", "middle", "", "line one\nline two", "a sandy s\n", "components", "ends with s"}));
    EXPECT_EQ(f.immunity, nullptr);
    // The last is the name without a lone lead byte at its end.
    EXPECT_EQ((std::vector<std::size_t>{std::strlen(g.name), std::strlen(g.chineseName), std::strlen(g.episode.get()),
                                        std::strlen(at(list.get(), 2)->name)}),
              (std::vector<std::size_t>{kNameSize - 1, kChineseNameSize - 1, kFieldBufferSize - 1, 28}));
}

TEST(ParseEntries, DamagedBuffersGiveFewerEntries) {
    std::string whole = entries(127);
    std::string missingKey = whole;
    missingKey.replace(missingKey.find("sikibetu40,"), 11, "sikibetuX0,");
    std::tuple<const char*, std::string, int32_t> cases[] = {
        {"no key at all", std::string(3000, 'a'), 0},
        {"cut inside entry 3", whole.substr(0, whole.find("sikibetu3,") + 30), 3},
        {"cut inside a key", whole.substr(0, whole.find("sikibetu3,") + 5), 3},
        {"key 40 missing", missingKey, 40},
        {"huge count", "sikibetu0,n,c,1,n,t,2147483647,a,b,", 0},
    };
    for (const auto& [what, text, expected] : cases) EXPECT_EQ(count(parse(text).get()), expected) << what;
}

TEST(ParseInteger, SaturatesAndFollowsTheIntegerRule) {
    const char* texts[] = {"  -7x", "+3", "abc", "\n4", "2147483647", "99999999999", "-2147483648", "-99999999999"};
    int32_t values[] = {-7, 3, 0, 4, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(parseInteger(texts[i]), values[i]) << '"' << texts[i] << '"';
}

// Every data and picture file already made depends on the two keys, so the
// stored form of the bytes 0, 1, ..., 29 is written out here in full. Thirty
// bytes pass the end of both keys (9 and 27 bytes), so each key's restart shows.
TEST(Scramble, KnownBytesScrambleToTheStoredFormInChunksAndBack) {
    std::vector<std::uint8_t> plain(30);
    std::iota(plain.begin(), plain.end(), 0);
    PictureKey picture = makePictureKey();
    DataKey data = makeDataKey();
    using Bytes = std::vector<std::uint8_t>;
    std::tuple<const char*, Bytes, Bytes> cases[] = {
        {"picture file",
         {picture.begin(), picture.end()},
         {0x44, 0x0B, 0xDE, 0x39, 0x50, 0x4F, 0x1A, 0x75, 0x2C, 0xC3, 0x36, 0x21, 0x08, 0x47, 0x42,
          0x8D, 0x94, 0x9B, 0x8E, 0x29, 0xA0, 0xDF, 0x0A, 0x85, 0x7C, 0xF3, 0x46, 0x5F, 0x26, 0xF9}},
        {"data file", {data.begin(), data.end()}, {0xBC, 0x8F, 0xCE, 0x25, 0x68, 0xFB, 0x7A, 0xD9, 0xD4, 0xC5,
                                                   0x98, 0xD7, 0x2E, 0x71, 0x04, 0x83, 0xE2, 0xDD, 0xCE, 0xA1,
                                                   0xE0, 0x37, 0x7A, 0x0D, 0x8C, 0xEB, 0xE6, 0xD7, 0xAA, 0xE9}},
    };
    for (const auto& [file, key, stored] : cases) {
        std::vector<std::uint8_t> bytes = plain;
        scrambleBytes(bytes.data(), bytes.size(), 0, key.data(), key.size());
        EXPECT_EQ(bytes, stored) << file;
        // In uneven chunks, as a buffered reader meets them, each chunk
        // starting at its own file offset.
        bytes = stored;
        descrambleBytes(bytes.data(), 4, 0, key.data(), key.size());
        descrambleBytes(bytes.data() + 4, 19, 4, key.data(), key.size());
        descrambleBytes(bytes.data() + 23, 7, 23, key.data(), key.size());
        EXPECT_EQ(bytes, plain) << file;
    }
}

// The paths a list file hands on, in order, read as the loader reads them.
std::vector<std::string> pathsOf(std::string text) {
    std::FILE* file = fmemopen(text.data(), text.size(), "r");
    std::vector<std::string> paths;
    char path[kListLineBufferSize];
    for (ListLine line; file && (line = readSidebarListLine(file, path)) != ListLine::end;)
        if (line == ListLine::path) paths.emplace_back(path);
    if (file) std::fclose(file);
    return paths;
}

TEST(SidebarList, LinesAndTheirEnd) {
    std::string fits(258, 'f');     // with its line break, 259 bytes: the longest line
    std::string tooLong(259, 't');  // with its line break, 260 bytes
    std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
        {"EOF in the middle is a path", "a.bmp\nEOF\nb.bmp\nEOF\n", {"a.bmp", "EOF", "b.bmp", "EOF"}},
        {"EOF without a line break ends the list", "a.bmp\nb.bmp\nEOF", {"a.bmp", "b.bmp"}},
        {"no EOF: the last path whole", "a.bmp\nb.bmp", {"a.bmp", "b.bmp"}},
        {"line breaks written elsewhere", "a.bmp\r\nb.bmp\r\nEOF", {"a.bmp", "b.bmp"}},
        {"empty lines are not paths", "\n\na.bmp\n\n", {"a.bmp"}},
        {"only the line break goes", " a b.bmp \n", {" a b.bmp "}},
        {"the longest line fits, a longer one is skipped", fits + "\n" + tooLong + "\nc.bmp\n", {fits, "c.bmp"}},
        {"a long last line without a line break", "a.bmp\n" + std::string(600, 'x'), {"a.bmp"}},
        {"EOF inside a path", "EOF.bmp\nxEOF\nEOF ", {"EOF.bmp", "xEOF", "EOF "}},
    };
    for (const auto& [what, text, paths] : cases) EXPECT_EQ(pathsOf(text), paths) << what;
}

}  // namespace
