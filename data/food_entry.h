#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "data/record_list.h"

// A NUL-terminated Shift-JIS string on the heap, owned by its entry.
using Text = std::unique_ptr<char[]>;

constexpr int32_t kEntryCount = 127;
constexpr int32_t kMaxSymptoms = 12;
constexpr int32_t kMaxDishRows = 10;            // ingredients, steps, other dishes and pairs
constexpr std::size_t kFieldBufferSize = 2000;  // the most a field holds, its NUL included

// Sizes of the fixed-width fields, their NUL included; the content tool holds
// the sources to them.
constexpr std::size_t kNameSize = 30;
constexpr std::size_t kChineseNameSize = 258;
constexpr std::size_t kNatureSize = 10;
constexpr std::size_t kTasteSize = 22;
constexpr std::size_t kSymptomSize = 50;
constexpr std::size_t kDishNameSize = 256;

// Each entry starts at the field of this prefix and its index: "sikibetu0", ...
constexpr char kEntryKeyPrefix[] = "sikibetu";

// One encyclopedia entry, read-only once parsed. Every count is at most its
// list's capacity (the parser keeps the first items of a longer list), so the
// pages and the printout walk a list up to its count. Slots beyond it are empty.
struct FoodEntry {
    int32_t loaded = 0;
    int32_t id = 0;
    char name[kNameSize] = {};
    char chineseName[kChineseNameSize] = {};
    int32_t seasonMonth = 0;
    char nature[kNatureSize] = {};
    char taste[kTasteSize] = {};
    int32_t symptomCount = 0;
    char symptoms[kMaxSymptoms][kSymptomSize] = {};
    Text episode;
    Text components;
    Text kampo;
    Text immunity;  // null when the file leaves it empty
    Text effectDetail;
    Text effectSummary;
    char dishName[kDishNameSize] = {};
    int32_t ingredientCount = 0;
    std::array<Text, kMaxDishRows> ingredientNames;
    std::array<Text, kMaxDishRows> ingredientAmounts;
    int32_t stepCount = 0;
    std::array<Text, kMaxDishRows> steps;
    Text dishEffect;
    int32_t otherDishCount = 0;
    std::array<Text, kMaxDishRows> otherDishes;
    Text advice;
    int32_t pairCount = 0;
    std::array<Text, kMaxDishRows> pairTexts;
    std::array<int32_t, kMaxDishRows> pairValues = {};
    Text supplement;
};

Text newText(const char* s);

// A text's characters, or "" for an absent one.
inline const char* textOf(const Text& t) { return t ? t.get() : ""; }

// What the pages and the printout show for an absent immunity and an empty
// supplement (each begins with a full-width space).
constexpr char kNoImmunity[] = "　未確認";
constexpr char kNoSupplement[] = "　特になし";
inline bool hasImmunity(const FoodEntry& entry) { return entry.immunity != nullptr; }
inline bool hasSupplement(const FoodEntry& entry) { return *textOf(entry.supplement) != '\0'; }
// The texts as shown, with their fallbacks.
inline const char* immunityText(const FoodEntry& entry) {
    return hasImmunity(entry) ? entry.immunity.get() : kNoImmunity;
}
inline const char* supplementText(const FoodEntry& entry) {
    return hasSupplement(entry) ? entry.supplement.get() : kNoSupplement;
}

// Decimal integer after optional white space and sign; saturates at the int32 range.
int32_t parseInteger(const char* text);

// Each reader works on [pos, end) and never reads past end.
// findKey: the position after the delimiter of the field equal to key, or null
// when the buffer ends first. Fields end at a comma or a line feed here.
const char* findKey(const char* pos, const char* end, const char* key);

// readField: copies one comma-ended field into out (at most capacity - 1 bytes,
// cut at a whole character; double quotes dropped) and returns the position after
// its comma, or null when the buffer ends before the comma.
const char* readField(const char* pos, const char* end, char* out, std::size_t capacity);

// readLastField: the supplement ends at a comma (result: after it), before the
// bytes "si" of the next key (result: the 's'), or at the end of the buffer.
const char* readLastField(const char* pos, const char* end, char* out, std::size_t capacity);

// Fills entry from the fields after key; the position after the entry, or null
// when the key is missing or the buffer ends inside the entry.
const char* parseEntry(FoodEntry& entry, const char* pos, const char* end, const char* key);

// Parses up to 127 entries in key order from a descrambled buffer; stops at the
// first missing key or truncated entry, so a damaged file gives fewer entries.
RecordList<FoodEntry>* parseEntries(const char* data, std::size_t length);
