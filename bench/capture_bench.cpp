// Times SaveCapture end to end into the folder named by config.ini beside
// this program, as the capture button runs it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/app_state.h"
#include "app/gdi.h"
#include "bench/bench_stats.h"
#include "capture/capture.h"

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    GdiplusSession gdiplus(&gApp.gdiplusToken);
    // The first capture loads the codecs; it is not what a user waits for
    // on every later click.
    SaveCapture(nullptr);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        SaveCapture(nullptr);
        times.push_back(NowMs() - start);
    }
    std::printf("SaveCapture %dx%d runs=%d median %.1f ms p95 %.1f ms\n",
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), runs,
                Quantile(times, 0.5), Quantile(times, 0.95));
    return 0;
}
