// What the toolbar's buttons and its close box do.
#pragma once

#include <windows.h>

INT_PTR OnToolbarCommand(HWND toolbar, WORD command);

// Plays the click resource; only the exit waits for it to finish.
void PlayClickSound(bool wait);
