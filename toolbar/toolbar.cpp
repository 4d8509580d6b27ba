#include "toolbar/toolbar.h"

#include "app/app_state.h"
#include "app/gdi.h"
#include "res/resource.h"
#include "toolbar/commands.h"
#include "toolbar/placement.h"

namespace {

constexpr UINT_PTR kSlideTimer = 0;
constexpr UINT kSlideTimerPeriod = 500;

void DrawIconResource(HDC dc, int iconId) {
    OwnedIcon icon(static_cast<HICON>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 38, 38, LR_DEFAULTCOLOR)));
    if (icon) {
        DrawIcon(dc, 0, 0, icon);
    }
}

void FillWithColour(HDC dc, const RECT& area, COLORREF colour) {
    OwnedBrush brush(CreateSolidBrush(colour));
    if (brush) {
        FillRect(dc, &area, brush);
    }
}

INT_PTR OnDrawItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case IDC_BTN_SETTINGS:
            DrawIconResource(item.hDC, IDI_SETTINGS);
            break;
        case IDC_BTN_CAPTURE:
            DrawIconResource(item.hDC, IDI_SAVE);
            break;
        case IDC_BTN_TOOL:
            FillWithColour(item.hDC, item.rcItem, GetSysColor(COLOR_BTNFACE));
            DrawIconResource(item.hDC, ToolFor(gApp.toolMode).iconId);
            break;
        case IDC_BTN_COLOUR: {
            RECT swatch = item.rcItem;
            InflateRect(&swatch, -5, -5);
            FillWithColour(item.hDC, swatch, GdiColour(gApp.colourIndex));
            break;
        }
        case IDC_BTN_CLEAR:
            DrawIconResource(item.hDC, IDI_POINTER);
            break;
    }
    return 0;
}

// Every hit test brings the toolbar in and restarts the count towards
// sliding out; the answer itself is left to the default processing.
INT_PTR OnNcHitTest(HWND toolbar) {
    SetTimer(toolbar, kSlideTimer, kSlideTimerPeriod, nullptr);
    PlaceToolbar(toolbar, kSlideInDistance);
    return 0;
}

INT_PTR OnTimer(HWND toolbar) {
    RECT window;
    GetWindowRect(toolbar, &window);
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    if (PointerHoldsToolbar({window.left, window.top, window.right, window.bottom},
                            {pointer.x, pointer.y})) {
        return 0;
    }
    PlaceToolbar(toolbar, kSlideOutDistance);
    KillTimer(toolbar, kSlideTimer);
    return 0;
}

// A press on the free client area moves the window as a caption press would.
INT_PTR OnLButtonDown(HWND toolbar) {
    SendMessageA(toolbar, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return 0;
}

}  // namespace

void PlaceToolbar(HWND toolbar, int distanceFromRight) {
    RECT workArea = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    ScreenPoint place = ToolbarPlace(GetSystemMetrics(SM_CXSCREEN),
                                     {workArea.left, workArea.top, workArea.right, workArea.bottom},
                                     distanceFromRight);
    SetWindowPos(toolbar, HWND_TOPMOST, place.x, place.y, 0, 0, SWP_NOSIZE);
}

void CreateToolbar(HWND overlay) {
    HWND toolbar = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TOOLBAR),
                                      overlay, ToolbarProc, 0);
    if (!toolbar) {
        return;
    }
    PlaceToolbar(toolbar, kSlideInDistance);
    ShowWindow(toolbar, SW_SHOW);
}

// Returns 0 for every message so the default processing follows each
// handler; for the hit test that is what gives the answer.
INT_PTR CALLBACK ToolbarProc(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_NCHITTEST:
            return OnNcHitTest(toolbar);
        case WM_TIMER:
            return OnTimer(toolbar);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(toolbar);
        case WM_COMMAND:
            return OnToolbarCommand(toolbar, LOWORD(wParam));
    }
    return 0;
}
