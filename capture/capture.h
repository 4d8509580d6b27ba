// Writing numbered captures of the whole primary screen.
#pragma once

#include <windows.h>

// Writes the next numbered capture into the folder named by "path". The
// given window, if any, is hidden for the grab and shown again after it,
// whether or not a file could be written.
void SaveCapture(HWND windowToHide);

// Counts a left-button release on the overlay; every fifth one writes a
// capture, with nothing hidden, when "autosave" is on.
void CountStrokeForCapture();
