#pragma once

#include <windows.h>
#include <commdlg.h>

#include "print/page_geometry.h"

// The grid of the dialog's printer device context (HORZRES by VERTRES).
void computePageGeometry(const PRINTDLGA& dialog, PageGeometry* geometry);
