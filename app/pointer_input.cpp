#include "app/pointer_input.h"

#include <algorithm>

#include "data/food_entry.h"
#include "print/print_job.h"
#include "render/index_lists.h"
#include "state/viewer_state.h"

namespace {

POINT cursorClient(HWND hwnd) {
    POINT cursor = {}, origin = {};
    GetCursorPos(&cursor);
    ClientToScreen(hwnd, &origin);
    return {cursor.x - origin.x, cursor.y - origin.y};
}

// Selects the first label of the list under the cursor; the list shows entries
// first .. first + length - 1, as far as the entry list reaches.
void hoverList(HWND hwnd, ViewerState* state, int32_t first, int32_t length) {
    length = std::min(length, count(state->entries) - first);
    POINT c = cursorClient(hwnd);
    for (int32_t k = 0; k < length; ++k) {
        POINT at = listLabelOrigin(k);
        if (at.x < c.x && c.x < at.x + kListColumnWidth && at.y < c.y && c.y < at.y + kListRowHeight) {
            state->selected = first + k;
            state->tab = 0;
            return;
        }
    }
}

}  // namespace

int cursorClientX(HWND hwnd) { return cursorClient(hwnd).x; }
int cursorClientY(HWND hwnd) { return cursorClient(hwnd).y; }

int32_t sidebarSlotAt(int x, int y) {
    if (x <= 0 || x >= kSidebarWidth) return -1;
    for (int32_t slot = 0; slot < kSidebarSlotCount; ++slot) {
        int top = sidebarSlotTop(slot);
        if (top < y && y <= top + kSidebarSlotHeight) return slot;
    }
    return -1;
}

int32_t sidebarSlotAtCursor(HWND hwnd) {
    POINT c = cursorClient(hwnd);
    return sidebarSlotAt(c.x, c.y);
}

void hoverAllEntries(HWND hwnd, ViewerState* state) { hoverList(hwnd, state, 0, count(state->entries)); }

void hoverCategoryEntries(HWND hwnd, ViewerState* state) {
    if (state->category < 1 || state->category > kCategoryCount) return;
    CategoryRange range = categoryRange(state->category);
    hoverList(hwnd, state, range.first, range.count);
}

void handlePointerMove(HWND hwnd, ViewerState* state, LPARAM lParam) {
    int y = HIWORD(lParam);
    bool buttonDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    if (buttonDown && state->view == 1) {
        state->scroll = std::max(0, state->scroll + y - state->lastMouseY);
        return;
    }
    if (state->view == 1) return;
    if (state->category == 0) hoverAllEntries(hwnd, state);
    else hoverCategoryEntries(hwnd, state);
}

void tabBarClick(int x, int y, ViewerState* state) {
    if (state->view != 1) return;
    if (kTabBarTop < y && y < kTabBarBottom)
        for (int tab = 1; tab < kTabCount; ++tab)
            if (kTabLabels[tab - 1].hitLeft < x && x < kTabLabels[tab - 1].hitRight) state->tab = tab;
    state->scroll = 0;
}

void sidebarCommand(HWND hwnd, ViewerState* state) {
    if (cursorClientX(hwnd) >= kSidebarWidth) return;
    int32_t slot = sidebarSlotAtCursor(hwnd);
    if (slot >= 0 && slot < kCategorySlotCount) {
        state->category = slot;
    } else if (slot == kPrintSlot) {
        if (state->view == 1) {
            printSelectedEntry(hwnd, state);
        } else {
            MessageBoxA(hwnd, kHintText, kHintCaption, MB_OK);
            state->hintPending = 1;
        }
    } else if (slot == kQuitSlot) {
        PostQuitMessage(0);
    }
}

void contentClick(HWND hwnd, ViewerState* state) {
    state->scroll = 0;
    if (cursorClientX(hwnd) <= kSidebarWidth) {
        if (sidebarSlotAtCursor(hwnd) >= 0) state->view = 0;
        return;
    }
    if (state->view == 1) return;
    if (state->hintPending) {
        state->hintPending = 0;
        return;
    }
    // With a damaged data file there may be no entry to open.
    if (!at(state->entries, state->selected)) return;
    state->view = 1;
    state->category = categoryOfEntry(state->selected);
}

void handleLeftButtonDown(HWND hwnd, ViewerState* state, LPARAM lParam) {
    tabBarClick(LOWORD(lParam), HIWORD(lParam), state);
    sidebarCommand(hwnd, state);
    contentClick(hwnd, state);
}

void handleWheel(ViewerState* state, WPARAM wParam) {
    if (state->view != 1) return;
    int delta = static_cast<short>(HIWORD(wParam));
    state->scroll = std::max(0, state->scroll + delta / -10);
}
