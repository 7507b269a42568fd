#include "print/print_job.h"

// Printing is not built yet: the command does nothing.
void printSelectedEntry(HWND, ViewerState*) {}
