#pragma once

#include <windows.h>

#include <cstdint>

struct ViewerState;

constexpr char kHintText[] = "何か項目を選択してください";
constexpr char kHintCaption[] = "ヒント";

// The live cursor position in client coordinates, read anew at every call.
int cursorClientX(HWND hwnd);
int cursorClientY(HWND hwnd);
// Sidebar slot 0-10 under the cursor, or -1.
int32_t sidebarSlotAtCursor(HWND hwnd);
int32_t sidebarSlotAt(int x, int y);

void handlePointerMove(HWND hwnd, ViewerState* state, LPARAM lParam);
void handleLeftButtonDown(HWND hwnd, ViewerState* state, LPARAM lParam);
void handleWheel(ViewerState* state, WPARAM wParam);

void hoverAllEntries(HWND hwnd, ViewerState* state);
void hoverCategoryEntries(HWND hwnd, ViewerState* state);
void tabBarClick(int x, int y, ViewerState* state);
void sidebarCommand(HWND hwnd, ViewerState* state);
void contentClick(HWND hwnd, ViewerState* state);
