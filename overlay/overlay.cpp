#include "overlay/overlay.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/gdi.h"
#include "overlay/canvas.h"
#include "overlay/strokes.h"
#include "toolbar/toolbar.h"

namespace {

INT_PTR OnInitDialog(HWND overlay) {
    LONG exStyle = GetWindowLongA(overlay, GWL_EXSTYLE);
    SetWindowLongA(overlay, GWL_EXSTYLE, exStyle ^ WS_EX_LAYERED);

    gApp.overlayBlend = kOverlayBlend;
    gApp.canvas = CreateCanvas(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));

    OwnedGraphics graphics(OpenCanvasGraphics(gApp.canvas));
    DrawBackdrop(gApp.canvas, graphics);

    gApp.updateLayeredWindow = ResolveUpdateLayeredWindow();
    if (!gApp.updateLayeredWindow) {
        // A layered window that is never updated is invisible yet would
        // still swallow the mouse: better not to run at all.
        EndDialog(overlay, 0);
        return 0;
    }
    PresentCanvas(overlay);
    CreateToolbar(overlay);
    return 0;
}

INT_PTR OnCommand(HWND overlay, WORD command) {
    if (command == IDCANCEL) {
        EndDialog(overlay, 0);
    }
    return 0;
}

INT_PTR OnDestroy() {
    ReleaseCanvas(gApp.canvas);
    return 0;
}

}  // namespace

UpdateLayeredWindowFn ResolveUpdateLayeredWindow() {
    HMODULE user32 = LoadLibraryA("User32.DLL");
    FARPROC update = user32 ? GetProcAddress(user32, "UpdateLayeredWindow") : nullptr;
    return reinterpret_cast<UpdateLayeredWindowFn>(reinterpret_cast<void*>(update));
}

void PresentCanvas(HWND overlay) {
    // The canvas keeps the size it was made with; never hand the window
    // manager more than it holds, or the whole update would be refused.
    SIZE size = {std::min(GetSystemMetrics(SM_CXSCREEN), gApp.canvas.width),
                 std::min(GetSystemMetrics(SM_CYSCREEN), gApp.canvas.height)};
    POINT origin = {0, 0};
    POINT source = {0, 0};
    WindowDc dc(overlay);
    gApp.updateLayeredWindow(overlay, dc, &origin, &size, gApp.canvas.dc, &source, 0,
                             &gApp.overlayBlend, ULW_ALPHA);
}

INT_PTR CALLBACK OverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(overlay);
        case WM_COMMAND:
            return OnCommand(overlay, LOWORD(wParam));
        case WM_MOUSEMOVE:
            return OnOverlayMouseMove(overlay, wParam);
        case WM_LBUTTONDOWN:
        // The dialog class asks for double clicks, so a quick second press
        // on the same spot comes as one; it opens a stroke all the same.
        case WM_LBUTTONDBLCLK:
            return OnOverlayButtonDown();
        case WM_LBUTTONUP:
            return OnOverlayButtonUp();
        case WM_DESTROY:
            return OnDestroy();
    }
    return 0;
}
