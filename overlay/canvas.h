// The overlay's off-screen picture and the ways into it.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "app/app_state.h"

// A memory DC compatible with the screen holding a 32-bit top-down DIB
// section of the given size, all bytes zero. The caller owns it and hands
// it back to ReleaseCanvas.
Canvas CreateCanvas(int width, int height);
void ReleaseCanvas(Canvas& canvas);

// A GDI+ graphics object that draws into the canvas and keeps its
// premultiplied alpha. The caller deletes it.
Gdiplus::GpGraphics* OpenCanvasGraphics(const Canvas& canvas);

// Fills the canvas with the nearly invisible backdrop. Every pixel must end
// with an alpha above zero: the window manager lets the mouse through a
// per-pixel-alpha window wherever the alpha is zero.
void DrawBackdrop(const Canvas& canvas, Gdiplus::GpGraphics* graphics);

// Loads a resource of the program's own module into a GDI+ image. On true
// the caller owns *image and disposes of it; on false *image is untouched.
bool LoadPngResource(int number, const char* typeName, Gdiplus::GpImage** image);

// Premultiplied red at alpha 3: the backdrop's colour, in the canvas's
// byte order (blue, green, red, alpha).
constexpr DWORD kBackdropPixel = 0x03030000;
