#include "app/main_window.h"

#include "app/pointer_input.h"
#include "render/frame.h"
#include "resources/resource_ids.h"
#include "state/viewer_state.h"
#include "verdalis_version.h"

namespace {

constexpr char kCaption[] = "Verdalis　ver" VERDALIS_VERSION_TEXT;

void repaint(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

}  // namespace

ATOM makeViewerClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = viewerWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VIEWER));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kViewerClassName;
    return RegisterClassExA(&wc);
}

bool createViewerWindow(HINSTANCE instance, int showCommand) {
    attachDecoder(&gViewer);  // the state owns it until the window is destroyed
    HWND hwnd = CreateWindowExA(0, kViewerClassName, kCaption, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                kFrameWidth, kFrameHeight, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return false;
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    return true;
}

void runMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK viewerWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ViewerState* state = &gViewer;
    switch (message) {
    case WM_CREATE:
        resetViewerState(state);
        loadEntries(state);
        loadSidebarBitmaps(hwnd, state);
        return 0;
    case WM_DESTROY:
        releaseViewerState(state);
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        paintFrame(hwnd, state);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
        return 0;
    case WM_MOUSEMOVE:
        handlePointerMove(hwnd, state, lParam);
        state->lastMouseY = HIWORD(lParam);
        repaint(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        handleLeftButtonDown(hwnd, state, lParam);
        repaint(hwnd);
        return 0;
    case WM_MOUSEWHEEL:
        handleWheel(state, wParam);
        repaint(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
