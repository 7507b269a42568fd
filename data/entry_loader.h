#pragma once

#include "data/food_entry.h"

constexpr char kDataFileName[] = "data";

// The scrambled data file at path, read with one open, descrambled and parsed;
// a missing, empty, absurdly large or damaged file gives fewer entries,
// possibly none, never a null list.
RecordList<FoodEntry>* readEntryFile(const char* path);
