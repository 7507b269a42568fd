#include "print/page_geometry_win.h"

void computePageGeometry(const PRINTDLGA& dialog, PageGeometry* geometry) {
    *geometry = pageGeometryFor(GetDeviceCaps(dialog.hDC, HORZRES), GetDeviceCaps(dialog.hDC, VERTRES));
}
