#include <windows.h>

#include "app/main_window.h"

// The exit code is 0 whatever happens: there is nobody to report to.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!makeViewerClass(instance)) return 0;
    if (!createViewerWindow(instance, showCommand)) return 0;
    runMessageLoop();
    return 0;
}
