#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FoodEntry;

struct IngredientRow {
    std::string name;
    std::string amount;
    bool operator==(const IngredientRow&) const = default;
};

struct NutrientPair {
    std::string text;
    int32_t value = 0;
    bool operator==(const NutrientPair&) const = default;
};

// One entry as the content tools see it: every field of FoodEntry in plain
// form. The strings are UTF-8 in the sources and Shift-JIS once encoded.
struct EntrySource {
    int32_t index = -1;
    std::string name;
    std::string chineseName;
    int32_t seasonMonth = 0;
    std::string nature;
    std::string taste;
    std::vector<std::string> symptoms;
    std::string episode;
    std::string components;
    std::string kampo;
    std::string immunity;
    std::string effectSummary;
    std::string effectDetail;
    std::string dishName;
    std::vector<IngredientRow> ingredients;
    std::vector<std::string> steps;
    std::string dishEffect;
    std::vector<std::string> otherDishes;
    std::string advice;
    std::vector<NutrientPair> pairs;
    std::string supplement;
    bool operator==(const EntrySource&) const = default;
};

// Byte limit of a long text: the parser's field buffer less its NUL.
constexpr std::size_t kTextLimit = 1999;

// Visits every text of the entry with its field name (as the YAML spells it,
// with list positions: "ingredients[2].amount") and its byte limit.
using TextVisitor = std::function<void(const std::string& field, std::string& value, std::size_t limit)>;
void forEachText(EntrySource& entry, const TextVisitor& visit);

// Counted lists and their capacities, by field name.
struct ListCount {
    const char* field;
    std::size_t size;
    std::size_t capacity;
};
std::vector<ListCount> listCounts(const EntrySource& entry);

// The data file's text layer for entries already in Shift-JIS, in the order given.
std::string formatDataText(const std::vector<EntrySource>& entries);

// A parsed entry back in source form (strings stay Shift-JIS).
EntrySource sourceFromFoodEntry(const FoodEntry& entry);
