#pragma once

#include <windows.h>

#include <cstdint>

struct ViewerState;

constexpr int kSidebarWidth = 180;
constexpr int kSidebarSlotCount = 11;
constexpr int kSidebarSlotHeight = 50;
constexpr int kCategorySlotCount = 8;  // slots 0-7 choose a list; 8 print, 9 none, 10 quit
constexpr COLORREF kWhite = 0xFFFFFF;

// Top y of sidebar slot 0-10; slots 8-10 sit below an 18-pixel gap.
constexpr int sidebarSlotTop(int slot) {
    return slot < kCategorySlotCount ? kSidebarSlotHeight * slot : kSidebarSlotHeight * slot + 18;
}

// Composes the whole frame into the back buffer and copies it to the window.
void paintFrame(HWND hwnd, ViewerState* state);
void composeFrame(HWND hwnd, ViewerState* state);
