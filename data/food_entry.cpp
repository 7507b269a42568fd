#include "data/food_entry.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/shift_jis.h"
#include "data/scramble.h"

namespace {

// Copies bytes into a fixed buffer; once it is full the rest is dropped, and a
// double-byte character is kept whole or not at all.
class BoundedCopy {
public:
    BoundedCopy(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {
        if (capacity_ > 0) out_[0] = '\0';
    }
    void push(char c) {
        auto b = static_cast<unsigned char>(c);
        if (trailPending_) {
            trailPending_ = false;
            if (!full_) out_[length_++] = c;
            return;
        }
        std::size_t need = isShiftJisLeadByte(b) ? 2 : 1;
        trailPending_ = need == 2;
        if (full_ || length_ + need >= capacity_) {
            full_ = true;
            return;
        }
        out_[length_++] = c;
    }
    void finish() {
        if (capacity_ == 0) return;
        // A lead byte whose trail never came is dropped.
        if (trailPending_ && !full_ && length_ > 0) --length_;
        out_[length_] = '\0';
    }

private:
    char* out_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool full_ = false;
    bool trailPending_ = false;
};

// Reads the fields of one entry in order; after the buffer has run out every
// further read gives an empty value and ok() stays false.
class FieldReader {
public:
    FieldReader(const char* pos, const char* end) : pos_(pos), end_(end) {}

    template <std::size_t N>
    void inPlace(char (&out)[N]) {
        read(out, N);
    }
    int32_t integer() { return parseInteger(read(work_, sizeof work_)); }
    Text text() { return newText(read(work_, sizeof work_)); }
    Text textOrNull() {
        const char* value = read(work_, sizeof work_);
        return *value ? newText(value) : nullptr;
    }
    int32_t count() {
        int32_t n = integer();
        return n < 0 ? 0 : n;
    }
    void skip(int64_t fields) {
        for (int64_t i = 0; i < fields && ok(); ++i) read(work_, sizeof work_);
    }
    Text lastText() {
        if (ok()) pos_ = readLastField(pos_, end_, work_, sizeof work_);
        else work_[0] = '\0';
        return newText(work_);
    }
    bool ok() const { return pos_ != nullptr; }
    const char* position() const { return pos_; }

private:
    const char* read(char* out, std::size_t capacity) {
        if (!ok()) {
            out[0] = '\0';
            return out;
        }
        pos_ = readField(pos_, end_, out, capacity);
        return out;
    }

    const char* pos_;
    const char* end_;
    char work_[kFieldBufferSize];
};

}  // namespace

Text newText(const char* s) {
    std::size_t n = std::strlen(s);
    Text t(new char[n + 1]);
    std::memcpy(t.get(), s, n + 1);
    return t;
}

int32_t parseInteger(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;  // saturate, keep going
    }
    if (negative) return static_cast<int32_t>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

const char* findKey(const char* pos, const char* end, const char* key) {
    std::size_t keyLength = std::strlen(key);
    while (pos < end) {
        const char* start = pos;
        while (pos < end && *pos != ',' && *pos != '\n') ++pos;
        if (pos == end) return nullptr;  // an unterminated field cannot be a key
        bool match = static_cast<std::size_t>(pos - start) == keyLength && std::memcmp(start, key, keyLength) == 0;
        ++pos;
        if (match) return pos;
    }
    return nullptr;
}

const char* readField(const char* pos, const char* end, char* out, std::size_t capacity) {
    BoundedCopy copy(out, capacity);
    for (; pos < end; ++pos) {
        if (*pos == ',') {
            copy.finish();
            return pos + 1;
        }
        if (*pos != '"') copy.push(*pos);
    }
    copy.finish();
    return nullptr;
}

const char* readLastField(const char* pos, const char* end, char* out, std::size_t capacity) {
    BoundedCopy copy(out, capacity);
    for (; pos < end; ++pos) {
        if (*pos == ',') {
            ++pos;
            break;
        }
        if (*pos == 's' && pos + 1 < end && pos[1] == 'i') break;
        if (*pos != '"') copy.push(*pos);
    }
    copy.finish();
    return pos;
}

const char* parseEntry(FoodEntry& entry, const char* pos, const char* end, const char* key) {
    pos = findKey(pos, end, key);
    if (!pos) return nullptr;
    entry.id = parseInteger(key + std::strlen(kEntryKeyPrefix));

    FieldReader r(pos, end);
    r.inPlace(entry.name);
    r.inPlace(entry.chineseName);
    entry.seasonMonth = r.integer();
    r.inPlace(entry.nature);
    r.inPlace(entry.taste);
    // A count beyond an array's capacity keeps the first items; the rest are read
    // and dropped so that the fields after them stay in step.
    int32_t n = r.count();
    entry.symptomCount = std::min(n, kMaxSymptoms);
    for (int32_t i = 0; i < entry.symptomCount; ++i) r.inPlace(entry.symptoms[i]);
    r.skip(n - entry.symptomCount);
    entry.episode = r.text();
    entry.components = r.text();
    entry.kampo = r.text();
    entry.immunity = r.textOrNull();
    entry.effectDetail = r.text();
    entry.effectSummary = r.text();
    r.inPlace(entry.dishName);
    n = r.count();
    entry.ingredientCount = std::min(n, kMaxDishRows);
    for (int32_t i = 0; i < entry.ingredientCount; ++i) {
        entry.ingredientNames[i] = r.text();
        entry.ingredientAmounts[i] = r.text();
    }
    r.skip(2 * int64_t{n - entry.ingredientCount});
    n = r.count();
    entry.stepCount = std::min(n, kMaxDishRows);
    for (int32_t i = 0; i < entry.stepCount; ++i) entry.steps[i] = r.text();
    r.skip(n - entry.stepCount);
    entry.dishEffect = r.text();
    n = r.count();
    entry.otherDishCount = std::min(n, kMaxDishRows);
    for (int32_t i = 0; i < entry.otherDishCount; ++i) entry.otherDishes[i] = r.text();
    r.skip(n - entry.otherDishCount);
    entry.advice = r.text();
    n = r.count();
    entry.pairCount = std::min(n, kMaxDishRows);
    for (int32_t i = 0; i < entry.pairCount; ++i) {
        entry.pairTexts[i] = r.text();
        entry.pairValues[i] = r.integer();
    }
    r.skip(2 * int64_t{n - entry.pairCount});
    if (!r.ok()) return nullptr;
    entry.supplement = r.lastText();
    entry.loaded = 1;
    return r.position();
}

RecordList<FoodEntry>* parseEntries(const char* data, std::size_t length) {
    auto* list = createList<FoodEntry>();
    const char* pos = data;
    const char* end = data + length;
    for (int32_t n = 0; n < kEntryCount && pos; ++n) {
        char key[32];
        std::snprintf(key, sizeof key, "%s%d", kEntryKeyPrefix, static_cast<int>(n));
        auto entry = std::make_unique<FoodEntry>();
        pos = parseEntry(*entry, pos, end, key);
        if (pos) append(list, std::move(entry));
    }
    return list;
}
