#pragma once

#include <windows.h>

#include <cstdint>

#include "base/screen_layout.h"
#include "data/record_list.h"
#include "jload/jload.h"

struct FoodEntry;
class SidebarBitmap;

// The whole state of the viewer, passed by pointer to every operation.
struct ViewerState {
    RecordList<SidebarBitmap>* bitmaps = nullptr;
    RecordList<FoodEntry>* entries = nullptr;
    HDC memDC = nullptr;
    HBITMAP backBitmap = nullptr;
    void* backBits = nullptr;
    HMODULE decoderModule = nullptr;
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
extern HINSTANCE gInstance;

// Resets the view fields and the owned pointers, as at window creation.
void resetViewerState(ViewerState* state);
// Destroys and frees everything the state owns, and nulls its fields.
void releaseViewerState(ViewerState* state);
