// From process start to the overlay shown: starts the program, polls for its
// visible layered window, ends it, and prints the median of the runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_stats.h"

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindOverlay(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    if (pid == search->pid && IsWindowVisible(window) && (exStyle & WS_EX_LAYERED)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench PATH-TO-Zintora.exe [runs]\n");
        return 2;
    }
    int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::string command = std::string("\"") + argv[1] + "\"";
        double start = NowMs();
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            std::fprintf(stderr, "cannot start %s\n", argv[1]);
            return 1;
        }
        Search search = {process.dwProcessId, nullptr};
        while (!search.found && NowMs() - start < 30000) {
            EnumWindows(FindOverlay, reinterpret_cast<LPARAM>(&search));
            if (!search.found) {
                Sleep(1);
            }
        }
        times.push_back(NowMs() - start);
        PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::printf("start-up to overlay shown runs=%d median %.0f ms min %.0f ms max %.0f ms\n", runs,
                Quantile(times, 0.5), Quantile(times, 0.0), Quantile(times, 1.0));
    return 0;
}
