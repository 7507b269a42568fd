#include "tools/content_pack.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>

#include "data/food_entry.h"
#include "data/scramble.h"
#include "tools/cp932.h"

namespace {

constexpr std::size_t kDishEffectLineBytes = 70;
constexpr std::size_t kStepLineBytes = 67;
constexpr std::size_t kIngredientNameLineBytes = 19;
constexpr std::size_t kAmountLineBytes = 12;

const std::set<std::string>& knownKeys() {
    static const std::set<std::string> keys = {
        "index",   "name",          "chineseName",  "seasonMonth", "nature",     "taste",      "symptoms",
        "episode", "components",    "kampo",        "immunity",    "effectSummary", "effectDetail", "dishName",
        "ingredients", "steps",     "dishEffect",   "otherDishes", "advice",     "pairs",      "supplement"};
    return keys;
}

std::string trimTrailingNewlines(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

// Reads YAML nodes into an entry, reporting the first problem of each field.
class YamlReader {
public:
    YamlReader(const std::string& path, std::vector<Diagnostic>& diagnostics) : path_(path), diagnostics_(diagnostics) {}

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
    if (sjis.dishEffect.size() > kDishEffectLineBytes)
        warn("dishEffect", std::to_string(sjis.dishEffect.size()) + " bytes do not fit on the one line of " +
                               std::to_string(kDishEffectLineBytes));
    for (std::size_t i = 0; i < sjis.steps.size(); ++i)
        if (sjis.steps[i].size() > kStepLineBytes)
            warn("steps[" + std::to_string(i) + "]", std::to_string(sjis.steps[i].size()) + " bytes, over the " +
                                                         std::to_string(kStepLineBytes) + " the page allows for");
    for (std::size_t i = 0; i < sjis.ingredients.size(); ++i) {
        std::string row = "ingredients[" + std::to_string(i) + "]";
        if (longestLine(sjis.ingredients[i].name) > kIngredientNameLineBytes)
            warn(row + ".name", "a line over " + std::to_string(kIngredientNameLineBytes) + " bytes wraps in its column");
        if (longestLine(sjis.ingredients[i].amount) > kAmountLineBytes)
            warn(row + ".amount", "a line over " + std::to_string(kAmountLineBytes) + " bytes wraps in its column");
    }
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
    if (ok) warnLayout(source, out, diagnostics);
    return ok;
}

}  // namespace

std::string formatDiagnostic(const Diagnostic& d) {
    std::string s = d.file + ": ";
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
        else e.ingredients.push_back({r.text(row["name"], "ingredients.name"), r.text(row["amount"], "ingredients.amount")});
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

std::string packEntries(const std::vector<SourceFile>& sources, std::vector<Diagnostic>& diagnostics) {
    bool ok = std::none_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
    std::map<int32_t, const SourceFile*> byIndex;
    for (const SourceFile& s : sources) {
        int32_t i = s.entry.index;
        if (i < 0 || i >= kEntryCount) {
            diagnostics.push_back({s.path, i, s.entry.name, "index", "must be 0-" + std::to_string(kEntryCount - 1), true});
            ok = false;
        } else if (auto [it, inserted] = byIndex.emplace(i, &s); !inserted) {
            diagnostics.push_back({s.path, i, s.entry.name, "index", "also used by " + it->second->path, true});
            ok = false;
        }
    }
    if (sources.size() != static_cast<std::size_t>(kEntryCount)) {
        diagnostics.push_back({"", -1, "", "", std::to_string(sources.size()) + " entry files, not " +
                                                   std::to_string(kEntryCount), true});
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
    }
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
        diagnostics.push_back({"", -1, "", "", "the data file holds " + std::to_string(entries.size()) +
                                                   " readable entries, not " + std::to_string(kEntryCount), false});
    return entries;
}
