#include "overlay/strokes.h"

#include "app/app_state.h"
#include "app/gdi.h"
#include "capture/capture.h"
#include "overlay/canvas.h"
#include "overlay/overlay.h"

namespace {

// The message's point is in client coordinates of whatever window the
// message was meant for; the cursor position is in screen pixels, which
// are canvas pixels since the overlay starts at the screen origin.
POINT CursorPosition() {
    POINT point = {0, 0};
    GetCursorPos(&point);
    return point;
}

// The move's own key flags tell the button state when the move happened,
// already mapped for swapped buttons. The live state would be ahead of the
// queue: a quick stroke's last moves would see the button up and be lost.
bool PrimaryButtonHeld(WPARAM keyFlags) {
    return (keyFlags & MK_LBUTTON) != 0;
}

void DrawSegment(POINT from, POINT to) {
    OwnedGraphics graphics(OpenCanvasGraphics(gApp.canvas));
    if (!graphics) {
        return;
    }
    gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
    StrokePen stroke = StrokePenFor(gApp.toolMode, gApp.colourIndex);
    OwnedPen pen;
    gdip::GdipCreatePen1(stroke.argb, static_cast<Gdiplus::REAL>(stroke.width), Gdiplus::UnitWorld,
                         pen.out());
    if (pen) {
        gdip::GdipDrawLineI(graphics, pen, from.x, from.y, to.x, to.y);
    }
}

}  // namespace

INT_PTR OnOverlayMouseMove(HWND overlay, WPARAM keyFlags) {
    HMODULE module = GetModuleHandleA(nullptr);
    SetCursor(LoadCursorA(module, MAKEINTRESOURCEA(ToolFor(gApp.toolMode).cursorId)));
    if (!gApp.drawing) {
        return 0;
    }
    // A release outside the overlay never reaches it; without this the
    // next moves would draw with no button held.
    if (!PrimaryButtonHeld(keyFlags)) {
        gApp.drawing = false;
        return 0;
    }
    POINT current = CursorPosition();
    DrawSegment(current, gApp.lastPoint);
    gApp.lastPoint = current;
    PresentCanvas(overlay);
    return 0;
}

INT_PTR OnOverlayButtonDown() {
    gApp.drawing = true;
    gApp.lastPoint = CursorPosition();
    return 1;
}

INT_PTR OnOverlayButtonUp() {
    CountStrokeForCapture();
    gApp.drawing = false;
    return 1;
}
