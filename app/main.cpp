#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "app/gdi.h"
#include "overlay/overlay.h"
#include "res/resource.h"

// The command line and the show command are not used: the program always
// covers the primary screen the same way.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    {
        GdiplusSession gdiplus(&gApp.gdiplusToken);
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_OVERLAY), nullptr, OverlayProc, 0);
    }
    return 0;
}
