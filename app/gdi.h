// Owners for the GDI and GDI+ handles a handler obtains, so each is released
// before the handler returns whatever path it takes.
#pragma once

#include <windows.h>
#include <gdiplus.h>

namespace gdip = Gdiplus::DllExports;

template <typename Handle, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() {
        if (handle_) {
            Traits::Release(handle_);
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    Handle* out() { return &handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    operator Handle() const { return handle_; }

private:
    Handle handle_ = nullptr;
};

struct GdiObjectTraits {
    static void Release(HGDIOBJ object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    static void Release(HDC dc) { DeleteDC(dc); }
};
struct IconTraits {
    static void Release(HICON icon) { DestroyIcon(icon); }
};
struct GraphicsTraits {
    static void Release(Gdiplus::GpGraphics* graphics) { gdip::GdipDeleteGraphics(graphics); }
};
struct PenTraits {
    static void Release(Gdiplus::GpPen* pen) { gdip::GdipDeletePen(pen); }
};
struct ImageTraits {
    static void Release(Gdiplus::GpImage* image) { gdip::GdipDisposeImage(image); }
};

using OwnedBrush = Owned<HBRUSH, GdiObjectTraits>;
using OwnedBitmap = Owned<HBITMAP, GdiObjectTraits>;
using OwnedMemoryDc = Owned<HDC, MemoryDcTraits>;
using OwnedIcon = Owned<HICON, IconTraits>;
using OwnedGraphics = Owned<Gdiplus::GpGraphics*, GraphicsTraits>;
using OwnedPen = Owned<Gdiplus::GpPen*, PenTraits>;
using OwnedImage = Owned<Gdiplus::GpImage*, ImageTraits>;

// A device context from GetDC or GetWindowDC, handed back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDc() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Keeps an object selected into a DC for a scope and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Starts GDI+ for the life of the program and shuts it down after the
// overlay dialog has ended; the token is kept where the shutdown finds it.
class GdiplusSession {
public:
    explicit GdiplusSession(ULONG_PTR* token) : token_(token) {
        Gdiplus::GdiplusStartupInput input = {};
        input.GdiplusVersion = 1;
        Gdiplus::GdiplusStartup(token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(*token_); }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR* token_;
};
