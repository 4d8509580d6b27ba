#include "settings/settings_dialog.h"

#include <shlobj.h>
#include <shellapi.h>

#include <string>

#include "res/resource.h"
#include "settings/config.h"
#include "settings/credit_area.h"

namespace {

void CheckWhenOn(HWND dialog, int boxId, const char* key) {
    if (SettingIsOn(key)) {
        SendDlgItemMessageA(dialog, boxId, BM_CLICK, 0, 0);
    }
}

const char* CheckedValue(HWND dialog, int boxId) {
    return SendDlgItemMessageA(dialog, boxId, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
}

// The cursor position is read rather than the message's point so the test
// is the same for moves and presses, whichever window they came through.
bool CursorInCreditArea(HWND dialog) {
    POINT point = {0, 0};
    GetCursorPos(&point);
    ScreenToClient(dialog, &point);
    return InCreditArea(point.x, point.y);
}

INT_PTR OnInitDialog(HWND dialog) {
    HBITMAP credit = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_CREDIT));
    // The control loaded its own copy from the template; it does not free
    // what it is handed or what it gives back, so the dialog frees both.
    auto previous = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(
        dialog, IDC_CREDIT, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(credit)));
    if (previous && previous != credit) {
        DeleteObject(previous);
    }
    SetDlgItemTextA(dialog, IDC_SAVE_PATH, ReadSetting("config", "path").c_str());
    CheckWhenOn(dialog, IDC_AUTOSAVE, "autosave");
    CheckWhenOn(dialog, IDC_QUITSAVE, "quitsave");
    return 1;
}

void OnOk(HWND dialog) {
    char path[MAX_PATH] = {};
    SendDlgItemMessageA(dialog, IDC_SAVE_PATH, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(path));
    if (path[0] != '\0') {
        WriteSetting("config", "path", path);
    }
    WriteSetting("config", "autosave", CheckedValue(dialog, IDC_AUTOSAVE));
    WriteSetting("config", "quitsave", CheckedValue(dialog, IDC_QUITSAVE));
    EndDialog(dialog, IDOK);
}

void OnBrowse(HWND dialog) {
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse = {};
    browse.hwndOwner = dialog;
    browse.pszDisplayName = displayName;
    browse.lpszTitle =
        "\xC7\xEB\xD1\xA1\xD4\xF1\xB1\xA3\xB4\xE6\xCE\xBB\xD6\xC3";  // 请选择保存位置
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen) {
        return;
    }
    char path[MAX_PATH] = {};
    // An item without a file-system path leaves the box as it was.
    if (SHGetPathFromIDListA(chosen, path)) {
        SetDlgItemTextA(dialog, IDC_SAVE_PATH, path);
    }
    CoTaskMemFree(chosen);
}

INT_PTR OnCommand(HWND dialog, WORD command) {
    switch (command) {
        case IDOK:
            OnOk(dialog);
            break;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            break;
        case IDC_BROWSE:
            OnBrowse(dialog);
            break;
    }
    return 0;
}

INT_PTR OnMouseMove(HWND dialog) {
    if (CursorInCreditArea(dialog)) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
    }
    return 0;
}

INT_PTR OnLButtonDown(HWND dialog) {
    if (CursorInCreditArea(dialog)) {
        ShellExecuteA(nullptr, "open", kMakerPage, nullptr, nullptr, SW_SHOWNORMAL);
    }
    return 0;
}

INT_PTR OnDestroy(HWND dialog) {
    auto credit = reinterpret_cast<HGDIOBJ>(
        SendDlgItemMessageA(dialog, IDC_CREDIT, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (credit) {
        DeleteObject(credit);
    }
    return 0;
}

}  // namespace

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        case WM_MOUSEMOVE:
            return OnMouseMove(dialog);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(dialog);
        case WM_DESTROY:
            return OnDestroy(dialog);
    }
    return 0;
}
