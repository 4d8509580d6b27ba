// The small topmost tool window that drives the program.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ToolbarProc(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the toolbar owned by the overlay, at its resting place, shown.
void CreateToolbar(HWND overlay);

// Moves the toolbar into the topmost band with its left edge the given
// distance from the right screen edge, 60 pixels above the work area's
// bottom, keeping its size.
void PlaceToolbar(HWND toolbar, int distanceFromRight);
