#include "state/viewer_state.h"

#include <utility>

#include "data/back_buffer.h"
#include "data/entry_loader.h"
#include "data/sidebar_bitmap.h"

ViewerState gViewer;

void resetViewerState(ViewerState* state) {
    state->memDC.reset();
    state->backBitmap.reset();
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
    state->memDC.reset();
    state->backBitmap.reset();
    state->backBits = nullptr;
    state->decoderModule.reset();
    state->decoderLoad = nullptr;
}

bool attachDecoder(ViewerState* state, const char* library) {
    Decoder decoder = loadDecoder(library);
    state->decoderModule = std::move(decoder.module);
    state->decoderLoad = decoder.load;
    return state->decoderLoad != nullptr;
}

void loadEntries(ViewerState* state) { state->entries = readEntryFile(kDataFileName); }

int32_t loadSidebarBitmaps(HWND hwnd, ViewerState* state) {
    state->bitmaps = readSidebarBitmaps(hwnd);
    // The frame is composed into the back buffer even without sidebar art.
    createBackBuffer(hwnd, state);
    return state->bitmaps ? 1 : 0;
}

void createBackBuffer(HWND hwnd, ViewerState* state) {
    BackBuffer buffer = newBackBuffer(hwnd);
    state->memDC = std::move(buffer.dc);
    state->backBitmap = std::move(buffer.bitmap);
    state->backBits = buffer.bits;
}

int32_t loadPicture(const char* path, Picture* picture, ViewerState* state) {
    return decodePicture(path, picture, decoderOf(state));
}

void loadEntryPicture(int32_t id, PictureKind kind, Picture* picture, ViewerState* state) {
    decodeEntryPicture(id, kind, picture, decoderOf(state));
}
