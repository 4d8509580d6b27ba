// The cost of one stroke segment as the overlay handles it, against a bare
// layered update of the same screen-sized canvas, at the current screen size.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/app_state.h"
#include "app/gdi.h"
#include "bench/bench_stats.h"
#include "overlay/canvas.h"
#include "overlay/overlay.h"
#include "overlay/strokes.h"

namespace {

HWND MakeLayeredWindow(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZintoraStrokeBench";
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "",
                           WS_POPUP, 0, 0, width, height, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    int segments = argc > 1 ? std::atoi(argv[1]) : 400;
    GdiplusSession gdiplus(&gApp.gdiplusToken);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);

    HWND window = MakeLayeredWindow(width, height);
    gApp.overlayBlend = kOverlayBlend;
    gApp.canvas = CreateCanvas(width, height);
    {
        OwnedGraphics graphics(OpenCanvasGraphics(gApp.canvas));
        DrawBackdrop(gApp.canvas, graphics);
    }
    gApp.updateLayeredWindow = ResolveUpdateLayeredWindow();
    PresentCanvas(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    PumpMessages();

    std::vector<double> stroke;
    std::vector<double> bare;
    gApp.drawing = true;
    SetCursorPos(width / 2 + 100, height / 2);
    gApp.lastPoint = {width / 2 + 100, height / 2};
    HDC windowDc = GetDC(window);
    for (int i = 0; i < segments; ++i) {
        // Short segments around a circle, as a hand would draw them.
        double angle = i * 0.05;
        SetCursorPos(width / 2 + int(100 * std::cos(angle)),
                     height / 2 + int(100 * std::sin(angle)));
        double start = NowMs();
        OnOverlayMouseMove(window, MK_LBUTTON);
        stroke.push_back(NowMs() - start);

        POINT origin = {0, 0};
        POINT source = {0, 0};
        SIZE size = {width, height};
        start = NowMs();
        gApp.updateLayeredWindow(window, windowDc, &origin, &size, gApp.canvas.dc, &source, 0,
                                 &gApp.overlayBlend, ULW_ALPHA);
        bare.push_back(NowMs() - start);
        PumpMessages();
    }
    ReleaseDC(window, windowDc);

    double strokeMedian = Quantile(stroke, 0.5);
    double bareMedian = Quantile(bare, 0.5);
    std::printf(
        "%dx%d segments=%d  stroke median %.3f ms p95 %.3f ms | bare update median %.3f ms "
        "p95 %.3f ms | ratio %.2f (+%.0f%%)\n",
        width, height, segments, strokeMedian, Quantile(stroke, 0.95), bareMedian,
        Quantile(bare, 0.95), strokeMedian / bareMedian,
        100.0 * (strokeMedian - bareMedian) / bareMedian);
    DestroyWindow(window);
    ReleaseCanvas(gApp.canvas);
    return 0;
}
