#include "app/viewer_state.h"

#include "data/food_entry.h"
#include "data/sidebar_bitmap.h"

ViewerState gViewer;
HINSTANCE gInstance = nullptr;

void resetViewerState(ViewerState* state) {
    state->memDC = nullptr;
    state->backBitmap = nullptr;
    state->backBits = nullptr;
    state->bitmaps = nullptr;
    state->entries = nullptr;
    state->category = 0;
    state->selected = 0;
    state->view = 0;
    state->tab = 0;
    state->scroll = 0;
    state->hintPending = 0;
}

// In the order the window gives them up: the lists, the back buffer (its DC
// first, so the bitmap is no longer selected when it is deleted), the decoder.
void releaseViewerState(ViewerState* state) {
    destroyList(state->bitmaps);  // each bitmap's destructor deletes its DIB section
    state->bitmaps = nullptr;
    destroyList(state->entries);
    state->entries = nullptr;
    if (state->memDC) DeleteDC(state->memDC);
    state->memDC = nullptr;
    if (state->backBitmap) DeleteObject(state->backBitmap);
    state->backBitmap = nullptr;
    state->backBits = nullptr;
    if (state->decoderModule) FreeLibrary(state->decoderModule);
    state->decoderModule = nullptr;
    state->decoderLoad = nullptr;
}
