#pragma once

#include <windows.h>

#include <cstdint>

#include "base/screen_layout.h"
#include "base/win32_owners.h"
#include "data/picture.h"
#include "data/record_list.h"
#include "jload/jload.h"

struct FoodEntry;
class SidebarBitmap;

// The whole state of the viewer, passed by pointer to every operation. It owns
// the two lists, the back buffer and the decoder library from window creation
// to window destruction.
struct ViewerState {
    RecordList<SidebarBitmap>* bitmaps = nullptr;
    RecordList<FoodEntry>* entries = nullptr;
    // The bitmap is declared first so that the DC it is selected into goes first.
    OwnedBitmap backBitmap;
    OwnedDC memDC;
    void* backBits = nullptr;
    OwnedModule decoderModule;
    DecoderLoad decoderLoad = nullptr;
    int32_t hintPending = 0;
    int32_t category = 0;  // 0 = all entries, 1-7 = one category
    int32_t selected = 0;  // entry last hovered: highlighted, shown and printed
    int32_t view = 0;      // 0 = index, 1 = detail page
    int32_t tab = 0;       // 0 = picture, 1-7 = the tab bar
    int32_t scroll = 0;    // detail page offset in pixels, never below 0
    int32_t lastMouseY = 0;
    int32_t pageBottom = kPageBottom;  // text column bottom in the window as it is, set by each frame
};

extern ViewerState gViewer;

// Resets the view fields and the owned pointers, as at window creation.
void resetViewerState(ViewerState* state);
// Destroys and frees everything the state owns, and nulls its fields.
void releaseViewerState(ViewerState* state);

// Builds the entry list from the data file in the working directory.
void loadEntries(ViewerState* state);

// Loads the decoder library and its export into the state, which then owns the
// library; false (both fields null) when either is missing.
bool attachDecoder(ViewerState* state, const char* library = kDecoderLibrary);

// Loads the bitmaps that imagelist.txt lists, in order, then creates the back
// buffer. Returns 0 when the list cannot be opened (no list, but a back buffer).
int32_t loadSidebarBitmaps(HWND hwnd, ViewerState* state);

// The back buffer of a window, selected into the state's memory DC.
void createBackBuffer(HWND hwnd, ViewerState* state);

// Decodes a scrambled picture file through the state's decoder. Returns 1 and
// fills picture on success; 0 with `info` null otherwise.
int32_t loadPicture(const char* path, Picture* picture, ViewerState* state);

// The entry's own picture, or the fallback "no" picture; `info` null when neither decodes.
void loadEntryPicture(int32_t id, PictureKind kind, Picture* picture, ViewerState* state);

// The state's decoder, or none without a state.
inline DecoderLoad decoderOf(const ViewerState* state) { return state ? state->decoderLoad : nullptr; }
