#include "tests/support/entry_builder.h"

EntrySource sampleEntry(int index) {
    EntrySource e;
    e.index = index;
    e.name = "entry" + std::to_string(index);
    e.chineseName = "chinese";
    e.seasonMonth = 4;
    e.nature = "nature";
    e.taste = "taste";
    e.symptoms = {"s1", "s2"};
    e.episode = "episode";
    e.components = "components";
    e.kampo = "kampo";
    e.effectSummary = "summary";
    e.effectDetail = "detail";
    e.dishName = "dish";
    e.ingredients = {{"name", "amount"}};
    e.steps = {"step"};
    e.dishEffect = "effect";
    e.otherDishes = {"other"};
    e.advice = "advice";
    e.pairs = {{"pair", 1}};
    e.supplement = "supplement";
    return e;
}

std::vector<EntrySource> sampleEntries(int n) {
    std::vector<EntrySource> entries;
    for (int i = 0; i < n; ++i) entries.push_back(sampleEntry(i));
    return entries;
}

std::string dataTextOf(const std::vector<EntrySource>& entries) { return formatDataText(entries); }
