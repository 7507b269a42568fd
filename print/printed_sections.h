#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "print/page_geometry.h"

struct FoodEntry;
struct ViewerState;

// The printed title block and the seven sections of an entry. Each draws on
// the dialog's hDC with draw 1, or only measures with draw 0, and returns the
// y below what it lays out: the same y in both modes. Pictures are loaded only
// when drawing. Every printer leaves the DC's font as it found it.

int32_t printTitleBlock(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry,
                        ViewerState* state, int32_t draw);
int32_t printEpisodeSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                            int32_t draw);
int32_t printKampoSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                          int32_t draw);
int32_t printWesternSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                            int32_t draw);
int32_t printEffectSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                           int32_t draw);
int32_t printSymptomsSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                             int32_t draw);
int32_t printDishSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                         ViewerState* state, int32_t draw);
int32_t printAdviceSection(const FoodEntry& entry, const PRINTDLGA& dialog, const PageGeometry& geometry, int32_t y,
                           int32_t draw);
