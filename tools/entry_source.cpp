#include "tools/entry_source.h"

#include <cstdio>

#include "base/dish_layout.h"
#include "data/food_entry.h"

static_assert(kTextLimit == kFieldBufferSize - 1);

void forEachText(EntrySource& e, const TextVisitor& visit) {
    auto list = [&](const char* field, std::vector<std::string>& items, std::size_t limit) {
        for (std::size_t i = 0; i < items.size(); ++i)
            visit(std::string(field) + "[" + std::to_string(i) + "]", items[i], limit);
    };
    // A fixed field keeps one byte for its NUL.
    visit("name", e.name, kNameSize - 1);
    visit("chineseName", e.chineseName, kChineseNameSize - 1);
    visit("nature", e.nature, kNatureSize - 1);
    visit("taste", e.taste, kTasteSize - 1);
    list("symptoms", e.symptoms, kSymptomSize - 1);
    visit("episode", e.episode, kTextLimit);
    visit("components", e.components, kTextLimit);
    visit("kampo", e.kampo, kTextLimit);
    visit("immunity", e.immunity, kTextLimit);
    visit("effectSummary", e.effectSummary, kTextLimit);
    visit("effectDetail", e.effectDetail, kTextLimit);
    visit("dishName", e.dishName, kDishNameSize - 1);
    for (std::size_t i = 0; i < e.ingredients.size(); ++i) {
        std::string row = "ingredients[" + std::to_string(i) + "]";
        visit(row + ".name", e.ingredients[i].name, kTextLimit);
        visit(row + ".amount", e.ingredients[i].amount, kTextLimit);
    }
    list("steps", e.steps, kDishTextBufferSize - 1);  // the dish page formats a step in its text buffer
    visit("dishEffect", e.dishEffect, kTextLimit);
    list("otherDishes", e.otherDishes, kDishTextBufferSize - kOtherDishMarkBytes - 1);  // the mark shares it
    visit("advice", e.advice, kTextLimit);
    for (std::size_t i = 0; i < e.pairs.size(); ++i)
        visit("pairs[" + std::to_string(i) + "].text", e.pairs[i].text, kTextLimit);
    visit("supplement", e.supplement, kTextLimit);
}

std::vector<ListCount> listCounts(const EntrySource& e) {
    return {{"symptoms", e.symptoms.size(), kMaxSymptoms},
            {"ingredients", e.ingredients.size(), kMaxDishRows},
            {"steps", e.steps.size(), kMaxDishRows},
            {"otherDishes", e.otherDishes.size(), kMaxDishRows},
            {"pairs", e.pairs.size(), kMaxDishRows}};
}

std::string formatDataText(const std::vector<EntrySource>& entries) {
    std::string out;
    auto field = [&out](const std::string& value) {
        out += value;
        out += ',';
    };
    auto number = [&](std::size_t n) { field(std::to_string(n)); };
    for (const EntrySource& e : entries) {
        field(kEntryKeyPrefix + std::to_string(e.index));
        field(e.name);
        field(e.chineseName);
        field(std::to_string(e.seasonMonth));
        field(e.nature);
        field(e.taste);
        number(e.symptoms.size());
        for (const auto& s : e.symptoms) field(s);
        field(e.episode);
        field(e.components);
        field(e.kampo);
        field(e.immunity);
        field(e.effectDetail);
        field(e.effectSummary);
        field(e.dishName);
        number(e.ingredients.size());
        for (const auto& row : e.ingredients) {
            field(row.name);
            field(row.amount);
        }
        number(e.steps.size());
        for (const auto& s : e.steps) field(s);
        field(e.dishEffect);
        number(e.otherDishes.size());
        for (const auto& s : e.otherDishes) field(s);
        field(e.advice);
        number(e.pairs.size());
        for (const auto& p : e.pairs) {
            field(p.text);
            field(std::to_string(p.value));
        }
        // The supplement ends with a comma so that the line break before the
        // next key stays out of its value.
        field(e.supplement);
        out += '\n';
    }
    return out;
}

EntrySource sourceFromFoodEntry(const FoodEntry& f) {
    EntrySource e;
    auto text = [](const Text& t) { return t ? std::string(t.get()) : std::string(); };
    e.index = f.id;
    e.name = f.name;
    e.chineseName = f.chineseName;
    e.seasonMonth = f.seasonMonth;
    e.nature = f.nature;
    e.taste = f.taste;
    for (int32_t i = 0; i < f.symptomCount; ++i) e.symptoms.emplace_back(f.symptoms[i]);
    e.episode = text(f.episode);
    e.components = text(f.components);
    e.kampo = text(f.kampo);
    e.immunity = text(f.immunity);
    e.effectSummary = text(f.effectSummary);
    e.effectDetail = text(f.effectDetail);
    e.dishName = f.dishName;
    for (int32_t i = 0; i < f.ingredientCount; ++i)
        e.ingredients.push_back({text(f.ingredientNames[i]), text(f.ingredientAmounts[i])});
    for (int32_t i = 0; i < f.stepCount; ++i) e.steps.push_back(text(f.steps[i]));
    e.dishEffect = text(f.dishEffect);
    for (int32_t i = 0; i < f.otherDishCount; ++i) e.otherDishes.push_back(text(f.otherDishes[i]));
    e.advice = text(f.advice);
    for (int32_t i = 0; i < f.pairCount; ++i) e.pairs.push_back({text(f.pairTexts[i]), f.pairValues[i]});
    e.supplement = text(f.supplement);
    return e;
}
