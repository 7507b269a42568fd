#include "render/frame.h"

#include <cstdlib>

#include "app/viewer_state.h"
#include "data/sidebar_bitmap.h"
#include "render/detail_page.h"
#include "render/gdi_objects.h"
#include "render/index_lists.h"
#include "render/scroll_rule.h"

namespace {

constexpr int kStripX = 180;
constexpr int kStripWidth = 10;
constexpr int kSlotShift = 5;               // pixels per step of distance from the current category
constexpr int kSelectedButtonBase = 11;     // bitmaps 11-18: slots 0-7 when current
constexpr int kUnselectedButtonBase = 22;   // bitmaps 22-29: slots 0-7 otherwise

// Copies a sidebar bitmap 1:1; a position the list does not reach draws nothing.
void drawBitmap(ViewerState* state, int32_t position, int x, int y, int width, int height) {
    const SidebarBitmap* bitmap = at(state->bitmaps, position);
    if (!bitmap) return;
    StretchDIBits(state->memDC, x, y, width, height, 0, 0, width, height, bitmap->bits, &bitmap->bitmapInfo,
                  DIB_RGB_COLORS, SRCCOPY);
}

void drawSidebar(ViewerState* state) {
    drawBitmap(state, state->category, kStripX, 0, kStripWidth, kBackBufferHeight);
    for (int slot = 0; slot < kSidebarSlotCount; ++slot) {
        int top = sidebarSlotTop(slot);
        if (slot >= kCategorySlotCount) {
            drawBitmap(state, kSelectedButtonBase + slot, 0, top, kSidebarWidth, kSidebarSlotHeight);
            continue;
        }
        int shift = kSlotShift * std::abs(state->category - slot);
        int position = (slot == state->category ? kSelectedButtonBase : kUnselectedButtonBase) + slot;
        drawBitmap(state, position, shift, top, kSidebarWidth - shift, kSidebarSlotHeight);
    }
}

}  // namespace

void composeFrame(HWND hwnd, ViewerState* state) {
    RECT client;
    GetClientRect(hwnd, &client);
    state->pageBottom = pageBottom(client.bottom);
    fillSolid(state->memDC, client, kWhite);
    drawSidebar(state);
    if (state->view == 0 && state->category == 0) drawAllEntriesList(hwnd, state);
    else if (state->view == 0) drawCategoryList(hwnd, state, state->category);
    else if (state->view == 1) drawDetailPage(state);
}

void paintFrame(HWND hwnd, ViewerState* state) {
    if (!state->memDC) return;
    composeFrame(hwnd, state);
    WindowDC dc(hwnd);
    BitBlt(dc.get(), 0, 0, kBackBufferWidth, kBackBufferHeight, state->memDC, 0, 0, SRCCOPY);
}
