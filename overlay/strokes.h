// The mouse handlers that draw strokes on the overlay.
#pragma once

#include <windows.h>

INT_PTR OnOverlayMouseMove(HWND overlay, WPARAM keyFlags);
INT_PTR OnOverlayButtonDown();
INT_PTR OnOverlayButtonUp();
