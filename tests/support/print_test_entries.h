#pragma once

#include <string>

// Entries made for the printing tests, in the data file's format (before
// scrambling): 0 short, 1 long enough for several pages, 2 without symptoms,
// immunity or supplement and with season 0.
std::string printTestEntries();

constexpr int kShortEntry = 0;
constexpr int kLongEntry = 1;
constexpr int kEmptyEntry = 2;
