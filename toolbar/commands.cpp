#include "toolbar/commands.h"

#include <mmsystem.h>

#include "app/app_state.h"
#include "app/gdi.h"
#include "capture/capture.h"
#include "overlay/canvas.h"
#include "overlay/overlay.h"
#include "res/resource.h"
#include "settings/config.h"
#include "settings/settings_dialog.h"

namespace {

// Alpha 1, not 0: a cleared overlay must still take the mouse once shown.
constexpr Gdiplus::ARGB kClearColour = 0x01FF0000;

HWND Overlay(HWND toolbar) {
    return GetWindow(toolbar, GW_OWNER);
}

// The face shows state; repaint it so it never shows a stale one.
void RepaintFace(HWND toolbar, int buttonId) {
    InvalidateRect(GetDlgItem(toolbar, buttonId), nullptr, TRUE);
}

void OpenSettings(HWND toolbar) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), toolbar,
                    SettingsProc, 0);
}

void NextToolOrShowOverlay(HWND toolbar) {
    HWND overlay = Overlay(toolbar);
    if (IsWindowVisible(overlay)) {
        gApp.toolMode = NextTool(gApp.toolMode);
    } else {
        ShowWindow(overlay, SW_SHOW);
    }
    RepaintFace(toolbar, IDC_BTN_TOOL);
}

void NextColour(HWND toolbar) {
    gApp.colourIndex = NextColourIndex(gApp.colourIndex);
    RepaintFace(toolbar, IDC_BTN_COLOUR);
}

void ClearAndHide(HWND toolbar) {
    if (SettingIsOn("quitsave")) {
        SaveCapture(toolbar);
    }
    HWND overlay = Overlay(toolbar);
    OwnedGraphics graphics(OpenCanvasGraphics(gApp.canvas));
    if (graphics) {
        gdip::GdipGraphicsClear(graphics, kClearColour);
    }
    PresentCanvas(overlay);
    ShowWindow(overlay, SW_HIDE);
}

void Exit(HWND toolbar) {
    if (SettingIsOn("quitsave")) {
        SaveCapture(toolbar);
    }
    EndDialog(Overlay(toolbar), 0);
}

}  // namespace

void PlayClickSound(bool wait) {
    PlaySoundA(MAKEINTRESOURCEA(IDR_CLICK_SOUND), GetModuleHandleA(nullptr),
               wait ? SND_RESOURCE : SND_RESOURCE | SND_ASYNC);
}

INT_PTR OnToolbarCommand(HWND toolbar, WORD command) {
    switch (command) {
        case IDC_BTN_SETTINGS:
            PlayClickSound(false);
            OpenSettings(toolbar);
            break;
        case IDC_BTN_CAPTURE:
            PlayClickSound(false);
            SaveCapture(toolbar);
            break;
        case IDC_BTN_TOOL:
            PlayClickSound(false);
            NextToolOrShowOverlay(toolbar);
            break;
        case IDC_BTN_COLOUR:
            PlayClickSound(false);
            NextColour(toolbar);
            break;
        case IDC_BTN_CLEAR:
            PlayClickSound(false);
            ClearAndHide(toolbar);
            break;
        case IDCANCEL:
            PlayClickSound(true);
            Exit(toolbar);
            break;
    }
    return 0;
}
