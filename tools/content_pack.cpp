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

// Sentences shorter than this (in characters) are set phrases, not copies.
constexpr std::size_t kSharedSentenceMinChars = 15;
constexpr std::size_t kSharedSentenceMaxEntries = 2;

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
        auto readings = parenthesisedSpans(value);
        for (const StyleRule& rule : rules) {
            auto allowed = occurrences(value, rule.allowedForm);
            std::size_t found = 0;
            for (const auto& [begin, end] : occurrences(value, rule.variant))
                if (!within(readings, begin, end) && !within(allowed, begin, end)) ++found;
            if (found == 0) continue;
            std::string message = "「" + rule.variant + "」";
            if (found > 1) message += " (" + std::to_string(found) + " times)";
            message += ": the style sheet writes 「" + rule.replacement + "」";
            if (!rule.allowedForm.empty()) message += "; 「" + rule.allowedForm + "」 stays as it is";
            diagnostics.push_back({source.path, source.entry.index, source.entry.name, field, message, true});
            ok = false;
        }
    });
    return ok;
}

std::size_t utf8Chars(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
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

// Sentences (split at 。 and line breaks) of the entries' texts that more than
// two entries share word for word: a reader of ten entries should not meet the
// same sentence ten times. One warning per sentence, naming the entries.
void warnSharedSentences(const std::map<int32_t, const SourceFile*>& byIndex, std::vector<Diagnostic>& diagnostics) {
    struct Use {
        int32_t index;
        std::vector<std::string> fields;
    };
    std::vector<std::string> order;
    std::unordered_map<std::string, std::vector<Use>> uses;
    for (const auto& [index, source] : byIndex) {
        EntrySource entry = source->entry;
        forEachText(entry, [&](const std::string& field, std::string& value, std::size_t) {
            // Nutrient and ingredient names are data, not sentences.
            if (field.rfind("pairs", 0) == 0 || field.rfind("ingredients", 0) == 0) return;
            // The kampo text opens with the style sheet's one formula, the same in every entry.
            bool formula = field == "kampo";
            std::size_t start = 0;
            while (start <= value.size()) {
                std::size_t stop = std::min(value.find("。", start), value.find('\n', start));
                std::string sentence(trimSpaces(std::string_view(value).substr(start, stop - start)));
                start = stop == std::string::npos ? value.size() + 1 : stop + (value[stop] == '\n' ? 1 : 3);
                if (sentence.empty()) continue;
                if (std::exchange(formula, false)) continue;
                if (utf8Chars(sentence) < kSharedSentenceMinChars) continue;
                auto [it, added] = uses.try_emplace(sentence);
                if (added) order.push_back(sentence);
                if (it->second.empty() || it->second.back().index != index) it->second.push_back({index, {}});
                std::vector<std::string>& fields = it->second.back().fields;
                if (std::find(fields.begin(), fields.end(), field) == fields.end()) fields.push_back(field);
            }
        });
    }
    for (const std::string& sentence : order) {
        const std::vector<Use>& list = uses[sentence];
        if (list.size() <= kSharedSentenceMaxEntries) continue;
        std::string where;
        for (const Use& u : list) {
            where += (where.empty() ? "" : ", ") + std::to_string(u.index) + " (";
            for (std::size_t i = 0; i < u.fields.size(); ++i) where += (i ? ", " : "") + u.fields[i];
            where += ")";
        }
        diagnostics.push_back({"", -1, "", "",
                               "the sentence 「" + sentence + "」 is in " + std::to_string(list.size()) +
                                   " entries: " + where + "; say it in each entry's own words",
                               false});
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
        if (columns.size() < 2 || columns.size() > 3 || columns[0].empty() || columns[1].empty())
            fail("needs a variant and what to write instead, and at most one allowed form, separated by tabs");
        else if (columns.size() == 3 && columns[2].find(columns[0]) == std::string::npos)
            fail("the allowed form \"" + columns[2] + "\" does not contain the variant \"" + columns[0] + "\"");
        else rules.push_back({columns[0], columns[1], columns.size() == 3 ? columns[2] : ""});
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
    }
    warnSharedSentences(byIndex, diagnostics);
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
