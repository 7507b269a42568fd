#include "render/detail_page.h"

#include "app/viewer_state.h"

// The detail page shows the content area's white background until its header
// and tab pages are drawn here.
void drawDetailPage(ViewerState*) {}
