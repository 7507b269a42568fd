#include "tools/content_pack.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>
#include <utility>

#include "base/dish_layout.h"
#include "base/screen_layout.h"
#include "base/text_lines.h"
#include "data/food_entry.h"
#include "data/scramble.h"
#include "tools/cp932.h"
#include "tools/screen_text.h"

namespace {

// Where the screen draws the short fields (base/screen_layout.h). A text may
// fill its room exactly, so that it meets the next thing on its line: that is
// always a cell of another colour (the next column's label, a grey header
// label) and the text stays whole. Past it, the later drawing covers the
// text's end. The name runs up to the " 漢名 " label, the 薬味 value up to
// " 薬性 ", the 薬性 value up to " 旬 ".
constexpr int32_t kChineseNameBoxWidth = kChineseNameBoxRight - kChineseNameBoxLeft;
constexpr std::size_t kChineseNameBoxLines = 2;  // 40 pixels high, 18-pixel lines

// A run of this many characters that more than kSharedPhraseMaxEntries
// entries share word for word is a copied phrase; shorter ones are set phrases.
constexpr std::size_t kSharedPhraseMinChars = 14;
constexpr std::size_t kSharedPhraseMaxEntries = 2;

// Nutrient and component names: a shared run made of nothing but these joined
// by 、・や and と is a list of what a food contains, not a copied phrase.
constexpr std::string_view kComponentNames[] = {"ビタミン",
                                                "ミネラル",
                                                "カリウム",
                                                "カルシウム",
                                                "マグネシウム",
                                                "ナトリウム",
                                                "リン",
                                                "鉄",
                                                "亜鉛",
                                                "銅",
                                                "マンガン",
                                                "ヨウ素",
                                                "セレン",
                                                "葉酸",
                                                "ナイアシン",
                                                "パントテン酸",
                                                "ビオチン",
                                                "食物繊維",
                                                "たんぱく質",
                                                "脂質",
                                                "炭水化物",
                                                "糖質",
                                                "β－カロテン",
                                                "β－クリプトキサンチン",
                                                "カロテン",
                                                "ポリフェノール",
                                                "アントシアニン",
                                                "カテキン",
                                                "フラボノイド",
                                                "サポニン",
                                                "ペクチン",
                                                "クエン酸",
                                                "リンゴ酸",
                                                "オレイン酸",
                                                "リノール酸",
                                                "α－リノレン酸",
                                                "DHA",
                                                "EPA",
                                                "A",
                                                "B1",
                                                "B2",
                                                "B6",
                                                "B12",
                                                "C",
                                                "D",
                                                "E",
                                                "K",
                                                "群"};
constexpr std::string_view kListSeparators[] = {"、", "・", "や", "と"};

// The cautions of the style sheet that pack can see are due: what calls for
// one, and the words one sentence of the entry (split at 。 and line breaks,
// in any of its texts) must hold. Amounts are per 100 g of edible part, as
// 日本食品標準成分表2020年版（八訂） prints them.

// Kidney: 400 mg of potassium per 100 g and more, the editors' line for the
// potassium-rich foods of the table (里芋 640, 小松菜 500, ほうれんそう 690, 納豆
// 660). The per-serving half of the rule (バナナ 360 a 100 g, 1 本 more) needs the
// serving, which the entries do not record.
constexpr int32_t kPotassiumCautionMg = 400;
constexpr std::string_view kPotassiumPair = "カリウム";
constexpr std::string_view kKidneyMarkers[] = {"カリウム", "腎臓"};

// Warfarin: 150 μg of vitamin K per 100 g and more, the editors' line: the
// leafy greens (小松菜 210, ほうれんそう 270), 納豆 (600), 抹茶 (2900) and
// seaweed are above it, other vegetables mostly far below.
constexpr int32_t kVitaminKCautionUg = 150;
constexpr std::string_view kVitaminKPairs[] = {"ビタミンK", "ビタミンＫ"};
constexpr std::string_view kWarfarinMarkers[] = {"ワルファリン"};

// Infant botulism: honey used in the dish or recommended in the advice or the
// effect text.
constexpr std::string_view kHoneyNames[] = {"はちみつ", "蜂蜜", "ハチミツ"};
constexpr std::string_view kInfantMarkers[] = {"1歳未満"};

// Pseudo-aldosteronism: a formula that contains 甘草 (glycyrrhiza), named in any
// text. Only formulas whose standard prescription lists 甘草 (大柴胡湯, 五苓散,
// 当帰芍薬散, 桂枝茯苓丸, 半夏厚朴湯, 大建中湯, 黄連解毒湯 and the 地黄丸 family do
// not). A name inside a longer one (人参湯 in 桂枝人参湯) is found by the
// shorter, which is right: both contain 甘草. Names that need a kanji Shift-JIS
// lacks are written as the entries write them, that kanji in hiragana.
constexpr std::string_view kLicoriceFormulas[] = {
    "葛根湯",           "小青竜湯",     "小青龍湯",         "芍薬甘草湯",     "甘草湯",
    "炙甘草湯",         "大黄甘草湯",   "甘草瀉心湯",       "桂枝湯",         "桂枝加芍薬湯",
    "桂枝加竜骨牡蛎湯", "桂枝加朮附湯", "桂枝加葛根湯",     "桂枝人参湯",     "桂麻各半湯",
    "麻黄湯",           "麻杏甘石湯",   "麻杏よく甘湯",     "越婢加朮湯",     "大青竜湯",
    "五虎湯",           "神秘湯",       "甘麦大棗湯",       "補中益気湯",     "四君子湯",
    "六君子湯",         "加味逍遙散",   "加味逍遥散",       "逍遙散",         "逍遥散",
    "抑肝散",           "十全大補湯",   "人参湯",           "人参養栄湯",     "帰脾湯",
    "小柴胡湯",         "柴胡桂枝湯",   "柴胡桂枝乾姜湯",   "柴朴湯",         "柴苓湯",
    "四逆散",           "麦門冬湯",     "五積散",           "安中散",         "温経湯",
    "苓桂朮甘湯",       "苓姜朮甘湯",   "苓甘姜味辛夏仁湯", "半夏瀉心湯",     "生姜瀉心湯",
    "黄連湯",           "黄ごん湯",     "川きゅう茶調散",   "桔梗湯",         "当帰四逆加呉茱萸生姜湯",
    "小建中湯",         "黄耆建中湯",   "当帰建中湯",       "香蘇散",         "参蘇飲",
    "升麻葛根湯",       "白虎湯",       "白虎加人参湯",     "温胆湯",         "竹茹温胆湯",
    "清暑益気湯",       "防已黄耆湯",   "防風通聖散",       "十味敗毒湯",     "消風散",
    "荊芥連翹湯",       "釣藤散",       "疎経活血湯",       "平胃散",         "胃苓湯",
    "啓脾湯",           "参苓白朮散",   "乙字湯",           "きゅう帰膠艾湯", "調胃承気湯",
    "桃核承気湯",       "竜胆瀉肝湯",   "滋陰降火湯",       "清肺湯",         "酸棗仁湯",
    "かっ香正気散",     "銀翹散"};
// Formulas without 甘草 whose names hold a listed one (清肺湯 in 辛夷清肺湯).
constexpr std::string_view kLicoriceFreeFormulas[] = {"辛夷清肺湯"};
constexpr std::string_view kLicoriceMarkers[] = {"偽アルドステロン症"};

const std::set<std::string>& knownKeys() {
    static const std::set<std::string> keys = {
        "index",       "name",       "chineseName", "seasonMonth", "nature",        "taste",        "symptoms",
        "episode",     "components", "kampo",       "immunity",    "effectSummary", "effectDetail", "dishName",
        "ingredients", "steps",      "dishEffect",  "otherDishes", "advice",        "pairs",        "supplement"};
    return keys;
}

std::string trimTrailingNewlines(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

// Reads YAML nodes into an entry, reporting the first problem of each field.
class YamlReader {
public:
    YamlReader(const std::string& path, std::vector<Diagnostic>& diagnostics)
        : path_(path), diagnostics_(diagnostics) {}

    void fail(const std::string& field, const std::string& message) {
        diagnostics_.push_back({path_, index_, name_, field, message, true});
    }
    void setEntry(int32_t index, const std::string& name) {
        index_ = index;
        name_ = name;
    }

    std::string text(const YAML::Node& node, const std::string& field) {
        if (!node || node.IsNull()) return {};
        if (!node.IsScalar()) {
            fail(field, "must be a text");
            return {};
        }
        return trimTrailingNewlines(node.Scalar());
    }
    int32_t integer(const YAML::Node& node, const std::string& field) {
        if (!node || !node.IsScalar()) {
            fail(field, "must be an integer");
            return 0;
        }
        try {
            return node.as<int32_t>();
        } catch (const YAML::Exception&) {
            fail(field, "must be an integer, not \"" + node.Scalar() + "\"");
            return 0;
        }
    }
    const YAML::Node list(const YAML::Node& node, const std::string& field) {
        if (node && !node.IsNull() && !node.IsSequence()) fail(field, "must be a list");
        return node && node.IsSequence() ? node : YAML::Node(YAML::NodeType::Sequence);
    }

private:
    std::string path_;
    std::vector<Diagnostic>& diagnostics_;
    int32_t index_ = -1;
    std::string name_;
};

std::size_t longestLine(const std::string& s) {
    std::size_t longest = 0, start = 0;
    while (true) {
        std::size_t nl = s.find('\n', start);
        std::size_t end = nl == std::string::npos ? s.size() : nl;
        longest = std::max(longest, end - start);
        if (nl == std::string::npos) return longest;
        start = nl + 1;
    }
}

// Screen layout hints for an encoded entry; never fatal.
void warnLayout(const SourceFile& source, const EntrySource& sjis, std::vector<Diagnostic>& diagnostics) {
    auto warn = [&](const std::string& field, const std::string& message) {
        diagnostics.push_back({source.path, sjis.index, source.entry.name, field, message, false});
    };
    // The dish page's own line widths, so the warnings match what it draws.
    constexpr auto nameLineBytes = static_cast<std::size_t>(kNameBytesPerLine);
    constexpr auto amountLineBytes = static_cast<std::size_t>(kAmountBytesPerLine);
    if (sjis.dishEffect.size() > kDishEffectBytesPerLine)
        warn("dishEffect", std::to_string(sjis.dishEffect.size()) + " bytes do not fit on the one line of " +
                               std::to_string(kDishEffectBytesPerLine));
    for (std::size_t i = 0; i < sjis.steps.size(); ++i)
        if (sjis.steps[i].size() > kStepBytesPerLine)
            warn("steps[" + std::to_string(i) + "]", std::to_string(sjis.steps[i].size()) + " bytes, over the " +
                                                         std::to_string(kStepBytesPerLine) + " the page allows for");
    for (std::size_t i = 0; i < sjis.ingredients.size(); ++i) {
        std::string row = "ingredients[" + std::to_string(i) + "]";
        if (longestLine(sjis.ingredients[i].name) > nameLineBytes)
            warn(row + ".name", "a line over " + std::to_string(nameLineBytes) + " bytes wraps in its column");
        if (longestLine(sjis.ingredients[i].amount) > amountLineBytes)
            warn(row + ".amount", "a line over " + std::to_string(amountLineBytes) + " bytes wraps in its column");
    }
}

std::string utf8Of(const std::string& sjis) { return cp932ToUtf8(sjis).value_or(sjis); }

std::string pixels(int32_t n) { return std::to_string(n) + " pixels"; }

// The most bytes of text, at `halfWidth` pixels a byte, that fit in `room` pixels.
int32_t bytesWithin(int32_t room, int32_t halfWidth) { return room / halfWidth; }

// Texts the screen draws in a fixed place and that must not run into the next
// label: the index labels in every list, the name, 薬味 and 薬性; 漢名 must fit
// its two-line box and should break between words. False on any error.
bool checkScreenFit(const SourceFile& source, const EntrySource& sjis, std::vector<Diagnostic>& diagnostics) {
    bool ok = true;
    auto report = [&](bool error, const std::string& field, const std::string& message) {
        diagnostics.push_back({source.path, sjis.index, source.entry.name, field, message, error});
        if (error) ok = false;
    };
    auto checkLabel = [&](int32_t position, const std::string& list) {
        std::string number = std::to_string(position) + ".";
        int32_t width = systemFontWidth(number + sjis.name);
        if (width <= kListColumnWidth) return;
        int32_t room = bytesWithin(kListColumnWidth, kSystemFontHalfWidth) - static_cast<int32_t>(number.size());
        report(true, "name",
               "index label \"" + number + source.entry.name + "\" is " + pixels(width) + " wide in " + list +
                   ": the next column's label, " + pixels(kListColumnWidth) +
                   " to the right, covers its end (at most " + std::to_string(room) + " bytes of name there)");
    };
    checkLabel(sjis.index, "the all-entries list");
    // An entry of a category appears in the all-entries list at its index and
    // in its category's list at its position within the category.
    for (int32_t c = 0; c < kCategoryCount; ++c)
        if (sjis.index >= kCategories[c].first && sjis.index < kCategories[c].first + kCategories[c].count)
            checkLabel(sjis.index - kCategories[c].first, "the list of category " + std::to_string(c + 1));

    auto checkRun = [&](const std::string& field, int32_t width, int32_t left, int32_t next, const std::string& label,
                        const std::string& font, int32_t halfWidth) {
        if (left + width <= next) return;
        report(true, field,
               "is " + pixels(width) + " wide in the " + font + "; drawn from x " + std::to_string(left) +
                   " it runs into the " + label + " label at x " + std::to_string(next) + " (at most " +
                   std::to_string(bytesWithin(next - left, halfWidth)) + " bytes fit)");
    };
    checkRun("name", nameFontWidth(sjis.name), kNameLeft, kChineseNameLabel.x, "漢名", "40-pixel name font",
             kNameFontHalfWidth);
    checkRun("taste", systemFontWidth(sjis.taste), kTasteLeft, kNatureLabel.x, "薬性", "system font",
             kSystemFontHalfWidth);
    checkRun("nature", systemFontWidth(sjis.nature), kNatureLeft, kSeasonLabel.x, "旬", "system font",
             kSystemFontHalfWidth);

    std::vector<std::string> lines = wrapSystemFontLines(sjis.chineseName, kChineseNameBoxWidth);
    if (lines.size() > kChineseNameBoxLines)
        report(true, "chineseName",
               "takes " + std::to_string(lines.size()) + " lines in its " + pixels(kChineseNameBoxWidth) +
                   " wide box, which shows " + std::to_string(kChineseNameBoxLines) + ": \"" +
                   utf8Of(lines[kChineseNameBoxLines]) + "\" is cut off");
    for (std::size_t i = 0; i + 1 < std::min(lines.size(), kChineseNameBoxLines); ++i) {
        const std::string& line = lines[i];
        const std::string& next = lines[i + 1];
        if (line.empty() || next.empty()) continue;
        std::size_t lastAt = 0;
        for (std::size_t at = 0; at < line.size(); at += characterLength(line, at)) lastAt = at;
        std::string_view last = std::string_view(line).substr(lastAt);
        std::string_view first = std::string_view(next).substr(0, characterLength(next, 0));
        if (breakSplitsWord(last, first))
            report(false, "chineseName",
                   "the " + pixels(kChineseNameBoxWidth) + " wide box breaks it inside a word: \"" + utf8Of(line) +
                       "\" / \"" + utf8Of(next) + "\" (break after ・ or 、, or before a reading in （）)");
    }
    return ok;
}

// Checks and converts one entry to Shift-JIS; false when anything is wrong.
bool encodeEntry(const SourceFile& source, EntrySource& out, std::vector<Diagnostic>& diagnostics) {
    bool ok = true;
    auto fail = [&](const std::string& field, const std::string& message) {
        diagnostics.push_back({source.path, source.entry.index, source.entry.name, field, message, true});
        ok = false;
    };
    out = source.entry;
    forEachText(out, [&](const std::string& field, std::string& value, std::size_t limit) {
        if (value.find(',') != std::string::npos) fail(field, "an ASCII comma cannot be stored: write 、");
        if (value.find('"') != std::string::npos) fail(field, "an ASCII double quote cannot be stored: write 「」");
        std::string bad;
        auto sjis = utf8ToCp932(value, &bad);
        if (!sjis) {
            fail(field, "\"" + bad + "\" has no Shift-JIS (code page 932) form");
            return;
        }
        if (sjis->size() > limit)
            fail(field, std::to_string(sjis->size()) + " bytes, over the limit of " + std::to_string(limit));
        value = *sjis;
    });
    for (const ListCount& c : listCounts(out))
        if (c.size > c.capacity)
            fail(c.field, std::to_string(c.size) + " items, over the capacity of " + std::to_string(c.capacity));
    if (out.supplement.find("si") != std::string::npos)
        fail("supplement", "the bytes \"si\" would end it early (they start the next entry's key)");
    if (out.seasonMonth < 0 || out.seasonMonth > 12) fail("seasonMonth", "must be 0 (all year) or a month 1-12");
    if (!ok) return false;
    bool fits = checkScreenFit(source, out, diagnostics);
    warnLayout(source, out, diagnostics);
    return fits;
}

// Where full-width parentheses enclose text (readings), as [begin, end) byte
// spans that include the parentheses; an unmatched parenthesis encloses nothing.
std::vector<std::pair<std::size_t, std::size_t>> parenthesisedSpans(const std::string& utf8) {
    static const std::string open = "（", close = "）";
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::vector<std::size_t> opened;
    for (std::size_t at = 0; at < utf8.size();) {
        if (utf8.compare(at, open.size(), open) == 0) {
            opened.push_back(at);
            at += open.size();
        } else if (utf8.compare(at, close.size(), close) == 0) {
            at += close.size();
            if (opened.empty()) continue;
            std::size_t begin = opened.back();
            opened.pop_back();
            if (opened.empty()) spans.emplace_back(begin, at);
        } else {
            ++at;
        }
    }
    return spans;
}

std::vector<std::pair<std::size_t, std::size_t>> occurrences(const std::string& text, const std::string& word) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    if (word.empty()) return found;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size()))
        found.emplace_back(at, at + word.size());
    return found;
}

bool within(const std::vector<std::pair<std::size_t, std::size_t>>& spans, std::size_t begin, std::size_t end) {
    return std::any_of(spans.begin(), spans.end(), [&](const auto& s) { return s.first <= begin && end <= s.second; });
}

// The style list's variants in an entry's texts (UTF-8), outside readings and
// outside the allowed longer form. False when any is found.
bool checkStyle(const SourceFile& source, const std::vector<StyleRule>& rules, std::vector<Diagnostic>& diagnostics) {
    bool ok = true;
    EntrySource entry = source.entry;
    forEachText(entry, [&](const std::string& field, std::string& value, std::size_t) {
        // The headword is the food's name as the index lists it (生姜), not running text.
        if (field == "name") return;
        auto readings = parenthesisedSpans(value);
        for (const StyleRule& rule : rules) {
            std::vector<std::pair<std::size_t, std::size_t>> allowed;
            for (const std::string& form : rule.allowedForms) {
                auto spans = occurrences(value, form);
                allowed.insert(allowed.end(), spans.begin(), spans.end());
            }
            std::size_t found = 0;
            for (const auto& [begin, end] : occurrences(value, rule.variant))
                if (!within(readings, begin, end) && !within(allowed, begin, end)) ++found;
            if (found == 0) continue;
            std::string message = "「" + rule.variant + "」";
            if (found > 1) message += " (" + std::to_string(found) + " times)";
            message += ": the style sheet writes 「" + rule.replacement + "」";
            for (std::size_t i = 0; i < rule.allowedForms.size(); ++i)
                message += (i ? "、「" : "; 「") + rule.allowedForms[i] + "」";
            if (!rule.allowedForms.empty())
                message += rule.allowedForms.size() == 1 ? " stays as it is" : " stay as they are";
            diagnostics.push_back({source.path, source.entry.index, source.entry.name, field, message, true});
            ok = false;
        }
    });
    return ok;
}

bool containsAny(std::string_view text, const auto& words) {
    return std::any_of(std::begin(words), std::end(words),
                       [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
}

// The sentences of a text: split at 。 and line breaks.
std::vector<std::string_view> sentencesOf(std::string_view text) {
    static constexpr std::string_view stop = "。";
    std::vector<std::string_view> sentences;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = std::min(text.find(stop, start), text.find('\n', start));
        if (end == std::string_view::npos) end = text.size();
        if (end > start) sentences.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, stop.size(), stop) == 0 ? stop.size() : 1);
    }
    return sentences;
}

// The cautions the style sheet demands and the entry lacks. False when any is missing.
bool checkCautions(const SourceFile& source, std::vector<Diagnostic>& diagnostics) {
    const EntrySource& e = source.entry;
    EntrySource texts = e;
    std::vector<std::string_view> sentences;
    forEachText(texts, [&](const std::string&, std::string& value, std::size_t) {
        for (std::string_view sentence : sentencesOf(value)) sentences.push_back(sentence);
    });
    auto saidInOneSentence = [&](const auto& markers) {
        return std::any_of(sentences.begin(), sentences.end(), [&](std::string_view sentence) {
            return std::all_of(std::begin(markers), std::end(markers),
                               [&](std::string_view m) { return sentence.find(m) != std::string_view::npos; });
        });
    };
    bool ok = true;
    auto missing = [&](const std::string& field, const std::string& why, const auto& markers, const char* caution) {
        std::string words = std::size(markers) > 1 ? "both " : "";
        for (std::size_t i = 0; i < std::size(markers); ++i)
            words += (i ? " and 「" : "「") + std::string(markers[i]) + "」";
        diagnostics.push_back({source.path, e.index, e.name, field,
                               why + ", and no sentence names " + words + ": the " + caution +
                                   " caution is missing (style sheet, cautions)",
                               true});
        ok = false;
    };

    for (std::size_t i = 0; i < e.pairs.size(); ++i) {
        const NutrientPair& pair = e.pairs[i];
        std::string field = "pairs[" + std::to_string(i) + "]";
        std::string amount = pair.text + " " + std::to_string(pair.value);
        if (pair.text.find(kPotassiumPair) != std::string::npos && pair.value >= kPotassiumCautionMg &&
            !saidInOneSentence(kKidneyMarkers))
            missing(field, amount + " (" + std::to_string(kPotassiumCautionMg) + " mg or more per 100 g)",
                    kKidneyMarkers, "kidney");
        if (containsAny(pair.text, kVitaminKPairs) && pair.value >= kVitaminKCautionUg &&
            !saidInOneSentence(kWarfarinMarkers))
            missing(field, amount + " (" + std::to_string(kVitaminKCautionUg) + " μg or more per 100 g)",
                    kWarfarinMarkers, "warfarin");
    }

    if (!saidInOneSentence(kInfantMarkers)) {
        std::string field;
        for (std::size_t i = 0; i < e.ingredients.size() && field.empty(); ++i)
            if (containsAny(e.ingredients[i].name, kHoneyNames)) field = "ingredients[" + std::to_string(i) + "].name";
        if (field.empty() && containsAny(e.advice, kHoneyNames)) field = "advice";
        if (field.empty() && containsAny(e.effectDetail, kHoneyNames)) field = "effectDetail";
        if (!field.empty()) missing(field, "honey is used or recommended", kInfantMarkers, "infant");
    }

    if (!saidInOneSentence(kLicoriceMarkers)) {
        bool reported = false;
        forEachText(texts, [&](const std::string& field, std::string& value, std::size_t) {
            if (reported) return;
            std::string text = value;
            for (std::string_view free : kLicoriceFreeFormulas)
                for (std::size_t at; (at = text.find(free)) != std::string::npos;) text.erase(at, free.size());
            for (std::string_view formula : kLicoriceFormulas)
                if (text.find(formula) != std::string::npos) {
                    missing(field, "「" + std::string(formula) + "」 contains 甘草", kLicoriceMarkers, "licorice");
                    reported = true;
                    return;
                }
        });
    }
    return ok;
}

std::string_view trimSpaces(std::string_view s) {
    static const std::string_view wide = "　";
    while (true) {
        if (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
        else if (s.substr(0, wide.size()) == wide) s.remove_prefix(wide.size());
        else if (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
        else if (s.size() >= wide.size() && s.substr(s.size() - wide.size()) == wide) s.remove_suffix(wide.size());
        else return s;
    }
}

// Whether a run is nothing but component names and list joiners (its ends may
// cut a name: 「ミンC、カリウム、食物繊維、ビタ」).
bool isComponentList(std::string_view run) {
    std::vector<bool> reach(run.size() + 1, false);
    reach[0] = true;
    for (std::string_view name : kComponentNames)
        for (std::size_t cut = 1; cut < name.size(); ++cut)
            if (run.substr(0, name.size() - cut) == name.substr(cut)) reach[name.size() - cut] = true;
    auto step = [&](std::size_t at, std::string_view token) {
        if (run.substr(at, token.size()) == token) reach[at + token.size()] = true;
    };
    for (std::size_t at = 0; at < run.size(); ++at) {
        if (!reach[at]) continue;
        for (std::string_view name : kComponentNames) {
            step(at, name);
            if (name.substr(0, run.size() - at) == run.substr(at)) return true;  // ends inside a name
        }
        for (std::string_view separator : kListSeparators) step(at, separator);
    }
    return reach[run.size()];
}

// Runs of kSharedPhraseMinChars or more characters that more than
// kSharedPhraseMaxEntries entries share word for word: a reader of ten entries
// should not meet the same phrase ten times. The texts are read line by line;
// ingredients, pairs and the opening formula of kampo are not. Each maximal
// run is reported once, quoted, with the entries and fields that hold it.
void warnSharedPhrases(const std::map<int32_t, const SourceFile*>& byIndex, std::vector<Diagnostic>& diagnostics) {
    struct Line {
        int32_t entry;
        std::string field;
        std::string_view text;
        std::vector<std::size_t> chars;  // byte offset of each character, and the end
        std::size_t firstWindow = 0;     // its windows' place in the list of all windows
    };
    std::vector<EntrySource> entries;
    entries.reserve(byIndex.size());
    std::vector<Line> lines;
    for (const auto& [index, source] : byIndex) {
        entries.push_back(source->entry);
        forEachText(entries.back(), [&](const std::string& field, std::string& value, std::size_t) {
            if (field.rfind("pairs", 0) == 0 || field.rfind("ingredients", 0) == 0) return;
            std::string_view text = value;
            if (field == "kampo") {  // the style sheet's one formula opens every kampo text
                std::size_t stop = std::min(text.find("。"), text.find('\n'));
                text = stop == std::string_view::npos ? std::string_view()
                                                      : text.substr(stop + (text[stop] == '\n' ? 1 : 3));
            }
            for (std::size_t start = 0; start < text.size();) {
                std::size_t nl = std::min(text.find('\n', start), text.size());
                Line line{index, field, trimSpaces(text.substr(start, nl - start)), {}, {}};
                start = nl + 1;
                for (std::size_t at = 0; at < line.text.size(); ++at)
                    if ((static_cast<unsigned char>(line.text[at]) & 0xC0) != 0x80) line.chars.push_back(at);
                if (line.chars.size() < kSharedPhraseMinChars) continue;
                line.chars.push_back(line.text.size());
                lines.push_back(std::move(line));
            }
        });
    }

    // Every window of kSharedPhraseMinChars characters and the number of entries
    // that hold it: the windows sorted by their hash, so that equal ones meet.
    auto window = [](const Line& line, std::size_t i) {
        return line.text.substr(line.chars[i], line.chars[i + kSharedPhraseMinChars] - line.chars[i]);
    };
    struct Key {
        std::size_t hash;
        int32_t entry;
        std::size_t window;
        bool operator<(const Key& o) const { return hash != o.hash ? hash < o.hash : entry < o.entry; }
    };
    std::vector<Key> keys;
    for (Line& line : lines) {
        line.firstWindow = keys.size();
        for (std::size_t i = 0; i + kSharedPhraseMinChars < line.chars.size(); ++i)
            keys.push_back({std::hash<std::string_view>()(window(line, i)), line.entry, keys.size()});
    }
    std::vector<int32_t> windowHolders(keys.size());
    std::sort(keys.begin(), keys.end());
    for (std::size_t a = 0; a < keys.size();) {
        std::size_t b = a;
        int32_t distinct = 0;
        for (; b < keys.size() && keys[b].hash == keys[a].hash; ++b)
            if (b == a || keys[b].entry != keys[b - 1].entry) ++distinct;
        for (; a < b; ++a) windowHolders[keys[a].window] = distinct;
    }
    auto holdersAt = [&](const Line& line, std::size_t i) { return windowHolders[line.firstWindow + i]; };

    // Where a line repeats what other entries say: its runs of shared windows.
    struct Run {
        std::size_t line;
        std::size_t first, last;  // windows
        std::string_view text;
    };
    std::vector<Run> runs;
    auto shared = [&](const Line& line, std::size_t i) {
        return static_cast<std::size_t>(holdersAt(line, i)) > kSharedPhraseMaxEntries;
    };
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const Line& line = lines[n];
        std::size_t count = line.chars.size() - kSharedPhraseMinChars;
        for (std::size_t i = 0; i < count; ++i) {
            if (!shared(line, i)) continue;
            std::size_t j = i;
            while (j + 1 < count && shared(line, j + 1)) ++j;
            std::string_view text = line.text.substr(line.chars[i],
                                                     line.chars[j + kSharedPhraseMinChars] - line.chars[i]);
            if (!isComponentList(text)) runs.push_back({n, i, j, text});
            i = j;
        }
    }

    // Runs that share a window are one copied phrase (with its variants), reported once.
    std::vector<std::size_t> parent(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) parent[r] = r;
    auto root = [&](std::size_t r) {
        while (parent[r] != r) r = parent[r] = parent[parent[r]];
        return r;
    };
    std::unordered_map<std::string_view, std::size_t> firstRunOf;  // shared windows only: few
    for (std::size_t r = 0; r < runs.size(); ++r)
        for (std::size_t i = runs[r].first; i <= runs[r].last; ++i) {
            auto [it, added] = firstRunOf.try_emplace(window(lines[runs[r].line], i), r);
            if (!added) parent[root(r)] = root(it->second);
        }
    std::map<std::size_t, std::vector<std::size_t>> groups;  // by the first run of each group
    std::map<std::size_t, std::size_t> groupOf;
    for (std::size_t r = 0; r < runs.size(); ++r) groups[groupOf.try_emplace(root(r), r).first->second].push_back(r);

    auto isSentence = [](std::string_view line, std::size_t at, std::size_t size) {
        static constexpr std::string_view stop = "。";
        bool opens = at == 0 || (at >= stop.size() && line.substr(at - stop.size(), stop.size()) == stop);
        return opens && (at + size == line.size() || line.substr(at + size, stop.size()) == stop);
    };
    for (const auto& [first, members] : groups) {
        // The part that the most entries share, as far as as many share it.
        std::size_t best = members[0], bestAt = runs[best].first, most = 0;
        for (std::size_t r : members)
            for (std::size_t i = runs[r].first; i <= runs[r].last; ++i)
                if (auto count = static_cast<std::size_t>(holdersAt(lines[runs[r].line], i)); count > most) {
                    most = count;
                    best = r;
                    bestAt = i;
                }
        const Line& bestLine = lines[runs[best].line];
        std::size_t from = bestAt, to = bestAt;
        while (from > runs[best].first && holdersAt(bestLine, from - 1) == holdersAt(bestLine, bestAt)) --from;
        while (to < runs[best].last && holdersAt(bestLine, to + 1) == holdersAt(bestLine, bestAt)) ++to;
        std::string_view core = bestLine.text.substr(bestLine.chars[from],
                                                     bestLine.chars[to + kSharedPhraseMinChars] - bestLine.chars[from]);

        bool sameText = std::all_of(members.begin(), members.end(),
                                    [&](std::size_t r) { return runs[r].text == core; });
        std::string_view sentence = core;
        if (sentence.size() > 3 && sentence.substr(sentence.size() - 3) == "。") sentence.remove_suffix(3);
        bool wholeSentences = sameText;
        std::vector<std::pair<int32_t, std::vector<std::string>>> holding;  // entry, what it holds where
        for (std::size_t r : members) {
            const Line& line = lines[runs[r].line];
            std::size_t at = static_cast<std::size_t>(runs[r].text.data() - line.text.data());
            wholeSentences = wholeSentences && isSentence(line.text, at, sentence.size());
            std::string here = line.field + (sameText ? "" : " 「" + std::string(runs[r].text) + "」");
            if (holding.empty() || holding.back().first != line.entry) holding.push_back({line.entry, {}});
            std::vector<std::string>& list = holding.back().second;
            if (std::find(list.begin(), list.end(), here) == list.end()) list.push_back(here);
        }
        std::string where;
        for (const auto& [entry, list] : holding) {
            where += (where.empty() ? "" : ", ") + std::to_string(entry) + " (";
            for (std::size_t i = 0; i < list.size(); ++i) where += (i ? ", " : "") + list[i];
            where += ")";
        }
        std::size_t entryCount = holding.size();
        std::string message = sameText ? std::string(wholeSentences ? "the sentence 「" : "the phrase 「") +
                                             std::string(wholeSentences ? sentence : core) + "」 is in " +
                                             std::to_string(entryCount) + " entries: "
                                       : std::to_string(entryCount) + " entries share runs of " +
                                             std::to_string(kSharedPhraseMinChars) + " or more characters around 「" +
                                             std::string(core) + "」: ";
        diagnostics.push_back({"", -1, "", "", message + where + "; say it in each entry's own words", false});
    }
}

}  // namespace

std::string formatDiagnostic(const Diagnostic& d) {
    std::string s = d.file.empty() ? "" : d.file + ": ";
    if (!d.error) s += "warning: ";
    if (d.index >= 0) s += "entry " + std::to_string(d.index) + (d.name.empty() ? "" : " (" + d.name + ")") + ": ";
    if (!d.field.empty()) s += "field " + d.field + ": ";
    return s + d.message;
}

SourceFile readEntryYaml(const std::string& path, std::vector<Diagnostic>& diagnostics) {
    SourceFile source{path, {}};
    YamlReader r(path, diagnostics);
    YAML::Node root;
    try {
        root = YAML::LoadFile(path);
    } catch (const YAML::Exception& e) {
        r.fail("", std::string("not valid YAML: ") + e.what());
        return source;
    }
    if (!root.IsMap()) {
        r.fail("", "must be a map of the entry's fields");
        return source;
    }
    EntrySource& e = source.entry;
    e.index = r.integer(root["index"], "index");
    e.name = r.text(root["name"], "name");
    r.setEntry(e.index, e.name);
    for (const auto& item : root) {
        std::string key = item.first.as<std::string>();
        if (!knownKeys().count(key)) r.fail(key, "unknown field");
    }
    for (const std::string& key : knownKeys())
        if (!root[key]) r.fail(key, "missing");
    e.chineseName = r.text(root["chineseName"], "chineseName");
    e.seasonMonth = r.integer(root["seasonMonth"], "seasonMonth");
    e.nature = r.text(root["nature"], "nature");
    e.taste = r.text(root["taste"], "taste");
    for (const auto& s : r.list(root["symptoms"], "symptoms")) e.symptoms.push_back(r.text(s, "symptoms"));
    e.episode = r.text(root["episode"], "episode");
    e.components = r.text(root["components"], "components");
    e.kampo = r.text(root["kampo"], "kampo");
    e.immunity = r.text(root["immunity"], "immunity");
    e.effectSummary = r.text(root["effectSummary"], "effectSummary");
    e.effectDetail = r.text(root["effectDetail"], "effectDetail");
    e.dishName = r.text(root["dishName"], "dishName");
    for (const auto& row : r.list(root["ingredients"], "ingredients")) {
        if (!row.IsMap()) r.fail("ingredients", "each row must be a map of name and amount");
        else
            e.ingredients.push_back(
                {r.text(row["name"], "ingredients.name"), r.text(row["amount"], "ingredients.amount")});
    }
    for (const auto& s : r.list(root["steps"], "steps")) e.steps.push_back(r.text(s, "steps"));
    e.dishEffect = r.text(root["dishEffect"], "dishEffect");
    for (const auto& s : r.list(root["otherDishes"], "otherDishes")) e.otherDishes.push_back(r.text(s, "otherDishes"));
    e.advice = r.text(root["advice"], "advice");
    for (const auto& p : r.list(root["pairs"], "pairs")) {
        if (!p.IsMap()) r.fail("pairs", "each pair must be a map of text and value");
        else e.pairs.push_back({r.text(p["text"], "pairs.text"), r.integer(p["value"], "pairs.value")});
    }
    e.supplement = r.text(root["supplement"], "supplement");
    return source;
}

std::string writeEntryYaml(const EntrySource& e) {
    YAML::Emitter out;
    auto text = [&out](const char* key, const std::string& value) {
        out << YAML::Key << key << YAML::Value;
        if (value.find('\n') != std::string::npos) out << YAML::Literal;
        out << value;
    };
    auto texts = [&out](const char* key, const std::vector<std::string>& values) {
        out << YAML::Key << key << YAML::Value << YAML::BeginSeq;
        for (const auto& v : values) out << v;
        out << YAML::EndSeq;
    };
    out << YAML::BeginMap;
    out << YAML::Key << "index" << YAML::Value << e.index;
    text("name", e.name);
    text("chineseName", e.chineseName);
    out << YAML::Key << "seasonMonth" << YAML::Value << e.seasonMonth;
    text("nature", e.nature);
    text("taste", e.taste);
    texts("symptoms", e.symptoms);
    text("episode", e.episode);
    text("components", e.components);
    text("kampo", e.kampo);
    text("immunity", e.immunity);
    text("effectSummary", e.effectSummary);
    text("effectDetail", e.effectDetail);
    text("dishName", e.dishName);
    out << YAML::Key << "ingredients" << YAML::Value << YAML::BeginSeq;
    for (const auto& row : e.ingredients)
        out << YAML::BeginMap << YAML::Key << "name" << YAML::Value << row.name << YAML::Key << "amount" << YAML::Value
            << YAML::DoubleQuoted << row.amount << YAML::EndMap;
    out << YAML::EndSeq;
    texts("steps", e.steps);
    text("dishEffect", e.dishEffect);
    texts("otherDishes", e.otherDishes);
    text("advice", e.advice);
    out << YAML::Key << "pairs" << YAML::Value << YAML::BeginSeq;
    for (const auto& p : e.pairs)
        out << YAML::BeginMap << YAML::Key << "text" << YAML::Value << p.text << YAML::Key << "value" << YAML::Value
            << p.value << YAML::EndMap;
    out << YAML::EndSeq;
    text("supplement", e.supplement);
    out << YAML::EndMap;
    return std::string(out.c_str()) + "\n";
}

std::vector<StyleRule> parseStyleRules(const std::string& text, const std::string& path,
                                       std::vector<Diagnostic>& diagnostics) {
    std::vector<StyleRule> rules;
    std::istringstream lines(text);
    std::string line;
    for (int32_t number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> columns;
        for (std::size_t start = 0;;) {
            std::size_t tab = line.find('\t', start);
            columns.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        auto fail = [&](const std::string& message) {
            diagnostics.push_back({path, -1, "", "", "line " + std::to_string(number) + ": " + message, true});
        };
        if (columns.size() < 2 || columns[0].empty() || columns[1].empty()) {
            fail("needs a variant and what to write instead, then any allowed forms, separated by tabs");
            continue;
        }
        StyleRule rule{columns[0], columns[1], {columns.begin() + 2, columns.end()}};
        auto stray = std::find_if(rule.allowedForms.begin(), rule.allowedForms.end(), [&](const std::string& form) {
            return form.find(rule.variant) == std::string::npos;
        });
        if (stray != rule.allowedForms.end())
            fail("the allowed form \"" + *stray + "\" does not contain the variant \"" + rule.variant + "\"");
        else rules.push_back(std::move(rule));
    }
    return rules;
}

std::vector<StyleRule> readStyleRules(const std::string& path, std::vector<Diagnostic>& diagnostics) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.push_back({path, -1, "", "", "cannot open the style list", true});
        return {};
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseStyleRules(text, path, diagnostics);
}

std::string packEntries(const std::vector<SourceFile>& sources, std::vector<Diagnostic>& diagnostics,
                        const std::vector<StyleRule>& style) {
    bool ok = std::none_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
    std::map<int32_t, const SourceFile*> byIndex;
    for (const SourceFile& s : sources) {
        int32_t i = s.entry.index;
        if (i < 0 || i >= kEntryCount) {
            diagnostics.push_back(
                {s.path, i, s.entry.name, "index", "must be 0-" + std::to_string(kEntryCount - 1), true});
            ok = false;
        } else if (auto [it, inserted] = byIndex.emplace(i, &s); !inserted) {
            diagnostics.push_back({s.path, i, s.entry.name, "index", "also used by " + it->second->path, true});
            ok = false;
        }
    }
    if (sources.size() != static_cast<std::size_t>(kEntryCount)) {
        diagnostics.push_back({"", -1, "", "",
                               std::to_string(sources.size()) + " entry files, not " + std::to_string(kEntryCount),
                               true});
        ok = false;
    }
    for (int32_t i = 0; i < kEntryCount; ++i)
        if (!byIndex.count(i)) {
            diagnostics.push_back({"", i, "", "index", "no file has this index", true});
            ok = false;
        }
    std::vector<EntrySource> encoded;
    for (const auto& [index, source] : byIndex) {
        EntrySource e;
        if (encodeEntry(*source, e, diagnostics)) encoded.push_back(std::move(e));
        else ok = false;
        if (!checkStyle(*source, style, diagnostics)) ok = false;
        if (!checkCautions(*source, diagnostics)) ok = false;
    }
    warnSharedPhrases(byIndex, diagnostics);
    if (!ok) return {};
    std::string data = formatDataText(encoded);
    DataKey key = makeDataKey();
    scrambleBytes(reinterpret_cast<std::uint8_t*>(data.data()), data.size(), 0, key.data(), key.size());
    return data;
}

std::vector<EntrySource> unpackEntries(const std::string& scrambled, std::vector<Diagnostic>& diagnostics) {
    std::string plain = scrambled;
    DataKey key = makeDataKey();
    descrambleBytes(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size(), 0, key.data(), key.size());
    OwnedRecordList<FoodEntry> list(parseEntries(plain.data(), plain.size()));
    std::vector<EntrySource> entries;
    for (int32_t i = 0; i < count(list.get()); ++i) {
        EntrySource e = sourceFromFoodEntry(*at(list.get(), i));
        forEachText(e, [&](const std::string& field, std::string& value, std::size_t) {
            std::string bad;
            auto utf8 = cp932ToUtf8(value, &bad);
            if (!utf8) diagnostics.push_back({"", e.index, "", field, "bytes " + bad + " are not Shift-JIS", true});
            value = utf8.value_or(value);
        });
        entries.push_back(std::move(e));
    }
    if (entries.size() != static_cast<std::size_t>(kEntryCount))
        diagnostics.push_back({"", -1, "", "",
                               "the data file holds " + std::to_string(entries.size()) + " readable entries, not " +
                                   std::to_string(kEntryCount),
                               false});
    return entries;
}
