#include "capture/capture.h"

#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "capture/grab.h"
#include "capture/naming.h"
#include "settings/config.h"

namespace {

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(CaptureSearchPattern(folder).c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        entries.push_back(
            {found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
    return entries;
}

std::optional<std::string> NextCapturePath() {
    std::optional<int32_t> number = NextCaptureNumber(ListFolder(ReadSetting("config", "path")));
    if (!number) {
        return std::nullopt;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string name = CaptureFileName(*number, {now.wMonth, now.wDay, now.wHour, now.wMinute});
    return CapturePath(ReadSetting("config", "path"), name);
}

std::wstring Widen(const std::string& path) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

}  // namespace

void SaveCapture(HWND windowToHide) {
    std::optional<std::string> path = NextCapturePath();
    if (windowToHide) {
        ShowWindow(windowToHide, SW_HIDE);
    }
    if (path) {
        GrabScreenToJpeg(Widen(*path).c_str(), GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN), 100);
    }
    if (windowToHide) {
        ShowWindow(windowToHide, SW_SHOW);
    }
}

void CountStrokeForCapture() {
    gApp.strokeCounter += 1;
    if (gApp.strokeCounter > 4) {
        gApp.strokeCounter = 0;
        if (SettingIsOn("autosave")) {
            SaveCapture(nullptr);
        }
    }
}
