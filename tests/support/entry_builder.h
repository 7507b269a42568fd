#pragma once

#include <string>
#include <vector>

#include "tools/entry_source.h"

// Entries for tests, written in the data file's format by the content tool's
// own writer, so that no test spells the format by hand.

// A small entry with every field filled: name "entryN", 4月, two symptoms, one
// ingredient row, one step, one other dish and one pair.
EntrySource sampleEntry(int index);
// Entries 0 .. n-1 of sampleEntry.
std::vector<EntrySource> sampleEntries(int n);
// Their data text, before scrambling.
std::string dataTextOf(const std::vector<EntrySource>& entries);
