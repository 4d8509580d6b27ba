// The modal dialog that stores the capture folder and the two options.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
