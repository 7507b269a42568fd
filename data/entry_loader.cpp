#include "data/entry_loader.h"

#include "app/viewer_state.h"
#include "data/food_entry.h"

void loadEntries(ViewerState* state) { state->entries = readEntryFile(kDataFileName); }
