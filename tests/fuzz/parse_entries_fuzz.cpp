#include <cstddef>
#include <cstdint>

#include "data/food_entry.h"

// Any byte string must parse to at most 127 entries without reading past the
// buffer; ASan and UBSan catch what would otherwise go unnoticed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    OwnedRecordList<FoodEntry> list(parseEntries(reinterpret_cast<const char*>(data), size));
    int32_t n = count(list.get());
    for (int32_t i = 0; i < n; ++i) {
        const FoodEntry* e = at(list.get(), i);
        if (e->id != i || e->symptomCount > kMaxSymptoms || e->ingredientCount > kMaxDishRows ||
            e->stepCount > kMaxDishRows || e->otherDishCount > kMaxDishRows || e->pairCount > kMaxDishRows)
            __builtin_trap();
    }
    return 0;
}
