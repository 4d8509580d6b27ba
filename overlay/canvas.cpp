#include "overlay/canvas.h"

#include <cstring>

#include "app/gdi.h"
#include "res/resource.h"

Canvas CreateCanvas(int width, int height) {
    Canvas canvas = {};
    canvas.width = width;
    canvas.height = height;
    WindowDc screen(nullptr);
    canvas.dc = CreateCompatibleDC(screen);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 is the screen's top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    canvas.bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &canvas.bits, nullptr, 0);
    canvas.previousBitmap = SelectObject(canvas.dc, canvas.bitmap);
    return canvas;
}

void ReleaseCanvas(Canvas& canvas) {
    if (canvas.dc) {
        SelectObject(canvas.dc, canvas.previousBitmap);
        DeleteDC(canvas.dc);
    }
    if (canvas.bitmap) {
        DeleteObject(canvas.bitmap);
    }
    canvas = {};
}

Gdiplus::GpGraphics* OpenCanvasGraphics(const Canvas& canvas) {
    Gdiplus::GpGraphics* graphics = nullptr;
    gdip::GdipCreateFromHDC(canvas.dc, &graphics);
    return graphics;
}

void DrawBackdrop(const Canvas& canvas, Gdiplus::GpGraphics* graphics) {
    Gdiplus::GpImage* loaded = nullptr;
    if (graphics && LoadPngResource(IDR_BACKDROP, "PNG", &loaded)) {
        OwnedImage image(loaded);
        // Six pixels past the right and bottom edges push the resampled
        // border of the stretched image off the canvas.
        gdip::GdipDrawImageRectI(graphics, image, 0, 0, canvas.width + 6, canvas.height + 6);
        return;
    }
    // Without the image the overlay would let every press through; the
    // same colour by hand keeps it taking the mouse.
    auto* pixel = static_cast<DWORD*>(canvas.bits);
    for (size_t i = 0, n = size_t(canvas.width) * size_t(canvas.height); pixel && i < n; ++i) {
        pixel[i] = kBackdropPixel;
    }
}

bool LoadPngResource(int number, const char* typeName, Gdiplus::GpImage** image) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), typeName);
    if (!found) {
        return false;
    }
    DWORD size = SizeofResource(module, found);
    HGLOBAL resource = LoadResource(module, found);
    if (!resource) {
        return false;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block ? GlobalLock(block) : nullptr;
    if (!bytes) {
        if (block) {
            GlobalFree(block);
        }
        FreeResource(resource);
        return false;
    }
    std::memcpy(bytes, LockResource(resource), size);
    GlobalUnlock(block);

    // The stream owns the block from here and frees it with its last
    // reference, which the image keeps for as long as it lives.
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        FreeResource(resource);
        return false;
    }
    Gdiplus::GpImage* loaded = nullptr;
    gdip::GdipLoadImageFromStream(stream, &loaded);
    stream->Release();
    FreeResource(resource);
    if (!loaded) {
        return false;
    }
    *image = loaded;
    return true;
}
