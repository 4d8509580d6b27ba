// The full-screen layered dialog the user draws on.
#pragma once

#include <windows.h>

#include "app/app_state.h"

// Each canvas pixel blended with its own alpha, no overall transparency.
constexpr BLENDFUNCTION kOverlayBlend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

// UpdateLayeredWindow looked up at run time, or null where it is missing.
UpdateLayeredWindowFn ResolveUpdateLayeredWindow();

INT_PTR CALLBACK OverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the whole canvas to the window manager and puts the overlay at the
// screen origin with the screen's size.
void PresentCanvas(HWND overlay);
