// The one process-wide state the window procedures share.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/tools.h"

// The screen-sized off-screen picture of the overlay: a memory DC holding a
// 32-bit top-down DIB section, so the layered update gets premultiplied
// 32-bit pixels whatever the display depth, and its bits can be reached.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    void* bits;
    int width;
    int height;
};

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                            BLENDFUNCTION*, DWORD);

struct AppState {
    ToolMode toolMode = ToolMode::Pen;
    int32_t colourIndex = 0;
    bool drawing = false;
    int32_t strokeCounter = 0;
    POINT lastPoint = {0, 0};
    Canvas canvas = {};
    BLENDFUNCTION overlayBlend = {};
    UpdateLayeredWindowFn updateLayeredWindow = nullptr;
    ULONG_PTR gdiplusToken = 0;
};

extern AppState gApp;
