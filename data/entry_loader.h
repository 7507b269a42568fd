#pragma once

struct ViewerState;

constexpr char kDataFileName[] = "data";

// Builds the entry list from the data file in the working directory; a missing
// or damaged file gives fewer entries, possibly none.
void loadEntries(ViewerState* state);
