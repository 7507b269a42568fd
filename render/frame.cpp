#include "render/frame.h"

#include <cstdlib>

#include "base/text_drawing.h"
#include "data/sidebar_bitmap.h"
#include "render/detail_page.h"
#include "render/index_lists.h"
#include "render/scroll_rule.h"
#include "state/viewer_state.h"

namespace {

// Copies a sidebar bitmap 1:1; a position the list does not reach draws nothing.
void drawBitmap(ViewerState* state, int32_t position, int x, int y, int width, int height) {
    const SidebarBitmap* bitmap = at(state->bitmaps, position);
    if (!bitmap) return;
    StretchDIBits(state->memDC.get(), x, y, width, height, 0, 0, width, height, bitmap->bits, &bitmap->bitmapInfo,
                  DIB_RGB_COLORS, SRCCOPY);
}

void drawSidebar(ViewerState* state) {
    drawBitmap(state, kStripBitmaps + state->category, kSidebarWidth, 0, kStripWidth, kFrameHeight);
    for (int slot = 0; slot < kSidebarSlotCount; ++slot) {
        // Command buttons stand still; a category button moves right by its distance from the current one.
        int shift = slot < kCategorySlotCount ? kSlotShift * std::abs(state->category - slot) : 0;
        drawBitmap(state, sidebarButtonBitmap(slot, state->category), shift, sidebarSlotTop(slot),
                   kSidebarWidth - shift, kSidebarSlotHeight);
    }
}

}  // namespace

void composeFrame(HWND hwnd, ViewerState* state) {
    RECT client;
    GetClientRect(hwnd, &client);
    state->pageBottom = pageBottom(client.bottom);
    fillSolid(state->memDC.get(), client, kWhite);
    drawSidebar(state);
    if (state->view == 0 && state->category == 0) drawAllEntriesList(state);
    else if (state->view == 0) drawCategoryList(state, state->category);
    else if (state->view == 1) drawDetailPage(state);
}

void paintFrame(HWND hwnd, ViewerState* state) {
    if (!state->memDC.get()) return;
    composeFrame(hwnd, state);
    WindowDC dc(hwnd);
    BitBlt(dc.get(), 0, 0, kFrameWidth, kFrameHeight, state->memDC.get(), 0, 0, SRCCOPY);
}
