// The full-screen layered dialog the user draws on.
#pragma once

#include <windows.h>

INT_PTR CALLBACK OverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the whole canvas to the window manager and puts the overlay at the
// screen origin with the screen's size.
void PresentCanvas(HWND overlay);
