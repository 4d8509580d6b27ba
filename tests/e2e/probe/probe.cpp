// Test probe: runs inside the same Wine prefix as the program under test and
// reports what Win32 itself sees (windows, controls, pixels, focus, cursor),
// because from Linux the other program's windows are not visible as X windows
// in every desktop mode, and controls of another process cannot be read there.
//
// Output: one record a line, fields separated by TAB. Window texts are escaped
// (\t \n \r \\) so a record always stays on one line.
// Exit codes: 0 ok, 1 the thing asked for failed or timed out, 2 bad arguments.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kOk = 0;
const int kFailed = 1;
const int kBadArgs = 2;

// Thrown by argument parsing; caught once at the top so every subcommand
// reports bad input the same way.
struct BadArgs {
    std::string why;
};

std::string utf8(const wchar_t* s, int len = -1) {
    if (!s)
        return std::string();
    if (len == 0)
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, s, len, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, len, &out[0], n, nullptr, nullptr);
    if (len < 0 && !out.empty() && out.back() == '\0')
        out.pop_back();
    return out;
}

std::wstring wide(const std::string& s) {
    if (s.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

// Keeps a record on one line whatever the window text holds.
std::string esc(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string hexs(unsigned long v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lx", v);
    return buf;
}

std::string hwnds(HWND h) {
    return hexs(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)));
}

std::string dec(long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%ld", v);
    return buf;
}

// Decimal or 0x hex, optionally negative (message parameters may be).
long long num(const std::wstring& w) {
    std::string s = utf8(w.c_str());
    const char* p = s.c_str();
    bool neg = false;
    if (*p == '-') {
        neg = true;
        ++p;
    }
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (!*p)
        throw BadArgs{"not a number: " + s};
    char* end = nullptr;
    unsigned long long v = std::strtoull(p, &end, base);
    if (*end)
        throw BadArgs{"not a number: " + s};
    return neg ? -static_cast<long long>(v) : static_cast<long long>(v);
}

HWND hwndArg(const std::wstring& w) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(num(w)));
}

void line(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out += '\t';
        out += fields[i];
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
}

std::string className(HWND h) {
    wchar_t buf[256] = {0};
    GetClassNameW(h, buf, 256);
    return utf8(buf);
}

// SendMessageTimeout so a hung program under test cannot hang the probe too.
bool sendText(HWND h, std::string* out) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &len))
        return false;
    std::vector<wchar_t> buf(len + 2, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, static_cast<WPARAM>(buf.size()),
                             reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 3000, &got))
        return false;
    *out = utf8(buf.data(), static_cast<int>(got));
    return true;
}

void rectFields(std::vector<std::string>& f, const RECT& r) {
    f.push_back(dec(r.left));
    f.push_back(dec(r.top));
    f.push_back(dec(r.right));
    f.push_back(dec(r.bottom));
}

void need(const std::vector<std::wstring>& a, size_t n, const char* usage) {
    if (a.size() != n)
        throw BadArgs{std::string("usage: probe ") + usage};
}

// ---------------------------------------------------------------- windows

BOOL CALLBACK topLevel(HWND h, LPARAM) {
    wchar_t title[1024] = {0};
    GetWindowTextW(h, title, 1024);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    RECT r = {0, 0, 0, 0};
    GetWindowRect(h, &r);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    std::vector<std::string> f;
    f.push_back(hwnds(h));
    f.push_back(dec(static_cast<long>(pid)));
    f.push_back(esc(className(h)));
    f.push_back(esc(utf8(title)));
    f.push_back(hexs(static_cast<unsigned long>(style)));
    f.push_back(hexs(static_cast<unsigned long>(ex)));
    rectFields(f, r);
    f.push_back(IsWindowVisible(h) ? "1" : "0");
    f.push_back(hwnds(GetWindow(h, GW_OWNER)));
    f.push_back((ex & WS_EX_TOPMOST) ? "1" : "0");
    line(f);
    return TRUE;
}

int cmdWindows(const std::vector<std::wstring>& a) {
    need(a, 0, "windows");
    EnumWindows(topLevel, 0);
    return kOk;
}

BOOL CALLBACK child(HWND h, LPARAM) {
    std::string text;
    if (!sendText(h, &text))
        text.clear();
    RECT r = {0, 0, 0, 0};
    GetWindowRect(h, &r);
    std::vector<std::string> f;
    f.push_back(hwnds(h));
    f.push_back(dec(GetDlgCtrlID(h)));
    f.push_back(esc(className(h)));
    f.push_back(esc(text));
    f.push_back(hexs(static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE))));
    rectFields(f, r);
    f.push_back(IsWindowVisible(h) ? "1" : "0");
    // The direct parent tells nested controls (e.g. inside a group) apart.
    f.push_back(hwnds(GetParent(h)));
    line(f);
    return TRUE;
}

int cmdChildren(const std::vector<std::wstring>& a) {
    need(a, 1, "children HWND");
    HWND h = hwndArg(a[0]);
    if (!IsWindow(h)) {
        std::fprintf(stderr, "no such window\n");
        return kFailed;
    }
    EnumChildWindows(h, child, 0);
    return kOk;
}

// ---------------------------------------------------------------- pixels

// A screen BitBlt sees what Win32 composes, layered windows included, which
// is what a screen capture made by the program itself would contain.
int cmdPixels(long x, long y, long w, long hgt) {
    if (w <= 0 || hgt <= 0 || w > 8192 || hgt > 8192)
        throw BadArgs{"bad size"};
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi;
    std::memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -hgt;  // top-down, so row 0 is the top row
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    int rc = kOk;
    if (!dib || !bits) {
        std::fprintf(stderr, "CreateDIBSection failed\n");
        rc = kFailed;
    } else {
        HGDIOBJ old = SelectObject(mem, dib);
        if (!BitBlt(mem, 0, 0, w, hgt, screen, x, y, SRCCOPY | CAPTUREBLT)) {
            std::fprintf(stderr, "BitBlt failed: %lu\n", GetLastError());
            rc = kFailed;
        } else {
            GdiFlush();
            const unsigned char* p = static_cast<const unsigned char*>(bits);
            std::string out;
            char buf[24];
            for (long row = 0; row < hgt; ++row) {
                for (long col = 0; col < w; ++col) {
                    const unsigned char* q = p + (row * w + col) * 4;  // B G R X
                    std::snprintf(buf, sizeof buf, "%s%u %u %u", col ? "\t" : "", q[2], q[1], q[0]);
                    out += buf;
                }
                out += '\n';
            }
            std::fwrite(out.data(), 1, out.size(), stdout);
        }
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return rc;
}

int cmdPixel(const std::vector<std::wstring>& a) {
    need(a, 2, "pixel X Y");
    return cmdPixels(static_cast<long>(num(a[0])), static_cast<long>(num(a[1])), 1, 1);
}

int cmdPixelsArgs(const std::vector<std::wstring>& a) {
    need(a, 4, "pixels X Y W H");
    return cmdPixels(static_cast<long>(num(a[0])), static_cast<long>(num(a[1])),
                     static_cast<long>(num(a[2])), static_cast<long>(num(a[3])));
}

// ---------------------------------------------------------------- messages

HWND existing(const std::wstring& w) {
    HWND h = hwndArg(w);
    if (!IsWindow(h)) {
        std::fprintf(stderr, "no such window\n");
        return nullptr;
    }
    return h;
}

int cmdText(const std::vector<std::wstring>& a) {
    need(a, 1, "text HWND");
    HWND h = existing(a[0]);
    if (!h)
        return kFailed;
    std::string t;
    if (!sendText(h, &t)) {
        std::fprintf(stderr, "WM_GETTEXT timed out\n");
        return kFailed;
    }
    line({esc(t)});
    return kOk;
}

int cmdCheck(const std::vector<std::wstring>& a) {
    need(a, 1, "check HWND");
    HWND h = existing(a[0]);
    if (!h)
        return kFailed;
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 3000, &r))
        return kFailed;
    line({dec(static_cast<long>(r))});
    return kOk;
}

int cmdSend(const std::vector<std::wstring>& a) {
    need(a, 4, "send HWND MSG WPARAM LPARAM");
    HWND h = existing(a[0]);
    if (!h)
        return kFailed;
    UINT msg = static_cast<UINT>(num(a[1]));
    WPARAM wp = static_cast<WPARAM>(num(a[2]));
    LPARAM lp = static_cast<LPARAM>(num(a[3]));
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &r)) {
        std::fprintf(stderr, "SendMessage timed out\n");
        return kFailed;
    }
    line({dec(static_cast<long>(r)), hexs(static_cast<unsigned long>(r))});
    return kOk;
}

int cmdPost(const std::vector<std::wstring>& a) {
    need(a, 4, "post HWND MSG WPARAM LPARAM");
    HWND h = existing(a[0]);
    if (!h)
        return kFailed;
    BOOL ok = PostMessageW(h, static_cast<UINT>(num(a[1])), static_cast<WPARAM>(num(a[2])),
                           static_cast<LPARAM>(num(a[3])));
    line({ok ? "1" : "0"});
    return ok ? kOk : kFailed;
}

// ---------------------------------------------------------------- state

int cmdFocus(const std::vector<std::wstring>& a) {
    need(a, 0, "focus");
    HWND fg = GetForegroundWindow();
    GUITHREADINFO gi;
    std::memset(&gi, 0, sizeof gi);
    gi.cbSize = sizeof gi;
    DWORD tid = fg ? GetWindowThreadProcessId(fg, nullptr) : 0;
    if (!tid || !GetGUIThreadInfo(tid, &gi)) {
        line({hwnds(nullptr), hwnds(nullptr), "0", hwnds(fg)});
        return kOk;
    }
    int id = gi.hwndFocus ? GetDlgCtrlID(gi.hwndFocus) : 0;
    line({hwnds(gi.hwndFocus), hwnds(gi.hwndActive), dec(id), hwnds(fg)});
    return kOk;
}

int cmdCursor(const std::vector<std::wstring>& a) {
    need(a, 0, "cursor");
    CURSORINFO ci;
    std::memset(&ci, 0, sizeof ci);
    ci.cbSize = sizeof ci;
    if (!GetCursorInfo(&ci)) {
        std::fprintf(stderr, "GetCursorInfo failed\n");
        return kFailed;
    }
    line({hexs(ci.flags), hwnds(reinterpret_cast<HWND>(ci.hCursor)), dec(ci.ptScreenPos.x),
          dec(ci.ptScreenPos.y)});
    return kOk;
}

int cmdWorkarea(const std::vector<std::wstring>& a) {
    need(a, 0, "workarea");
    RECT r = {0, 0, 0, 0};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
        return kFailed;
    std::vector<std::string> f;
    rectFields(f, r);
    line(f);
    return kOk;
}

int cmdMetrics(const std::vector<std::wstring>& a) {
    need(a, 0, "metrics");
    line({dec(GetSystemMetrics(SM_CXSCREEN)), dec(GetSystemMetrics(SM_CYSCREEN))});
    return kOk;
}

int cmdGui(const std::vector<std::wstring>& a) {
    need(a, 1, "gui PID");
    DWORD pid = static_cast<DWORD>(num(a[0]));
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!p)
        p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    std::string gdi = "n/a", user = "n/a";
    if (p) {
        // Zero is what the call returns on failure (Wine's stub included);
        // a live GUI process never really owns zero objects of both kinds.
        DWORD g = GetGuiResources(p, GR_GDIOBJECTS);
        DWORD u = GetGuiResources(p, GR_USEROBJECTS);
        if (g || u) {
            gdi = dec(static_cast<long>(g));
            user = dec(static_cast<long>(u));
        }
        CloseHandle(p);
    }
    line({gdi, user});
    return kOk;
}

// Windows pids differ from the Linux pids of the wine processes, so the
// harness needs this list to learn which pid its program got.
int cmdProcs(const std::vector<std::wstring>& a) {
    need(a, 0, "procs");
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return kFailed;
    PROCESSENTRY32W pe;
    std::memset(&pe, 0, sizeof pe);
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
        std::string path;
        HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pe.th32ProcessID);
        if (p) {
            wchar_t buf[MAX_PATH * 2] = {0};
            DWORD n = MAX_PATH * 2;
            if (QueryFullProcessImageNameW(p, 0, buf, &n))
                path = utf8(buf, static_cast<int>(n));
            CloseHandle(p);
        }
        line({dec(static_cast<long>(pe.th32ProcessID)),
              dec(static_cast<long>(pe.th32ParentProcessID)), esc(utf8(pe.szExeFile)), esc(path)});
    }
    CloseHandle(snap);
    return kOk;
}

// What the program under test really received: Wine builds the Windows
// command line from the Linux argv, and quoting there is easy to get wrong.
int cmdCmdline(const std::vector<std::wstring>& a) {
    need(a, 1, "cmdline PID");
    DWORD pid = static_cast<DWORD>(num(a[0]));
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!p) {
        std::fprintf(stderr, "OpenProcess failed: %lu\n", GetLastError());
        return kFailed;
    }
    int rc = kFailed;
    PROCESS_BASIC_INFORMATION pbi;
    std::memset(&pbi, 0, sizeof pbi);
    ULONG got = 0;
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS params;
    SIZE_T n = 0;
    if (NtQueryInformationProcess(p, ProcessBasicInformation, &pbi, sizeof pbi, &got) == 0 &&
        ReadProcessMemory(p, pbi.PebBaseAddress, &peb, sizeof peb, &n) &&
        ReadProcessMemory(p, peb.ProcessParameters, &params, sizeof params, &n)) {
        std::vector<wchar_t> buf(params.CommandLine.Length / sizeof(wchar_t) + 1, L'\0');
        if (ReadProcessMemory(p, params.CommandLine.Buffer, buf.data(), params.CommandLine.Length,
                              &n)) {
            line({esc(
                utf8(buf.data(), static_cast<int>(params.CommandLine.Length / sizeof(wchar_t))))});
            rc = kOk;
        }
    }
    if (rc != kOk)
        std::fprintf(stderr, "cannot read the command line\n");
    CloseHandle(p);
    return rc;
}

// ---------------------------------------------------------------- target

FILE* g_log = nullptr;

LRESULT CALLBACK targetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_LBUTTONDOWN: {
            // Screen coordinates, so a test compares them with where it clicked.
            POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ClientToScreen(h, &pt);
            if (g_log) {
                std::fprintf(g_log, "down %ld %ld\n", pt.x, pt.y);
                std::fflush(g_log);
            }
            return 0;
        }
        case WM_TIMER:
            DestroyWindow(h);
            return 0;
        case WM_CLOSE:
            DestroyWindow(h);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

int cmdTarget(const std::vector<std::wstring>& a) {
    need(a, 5, "target OUTFILE X Y W H");
    int x = static_cast<int>(num(a[1])), y = static_cast<int>(num(a[2]));
    int w = static_cast<int>(num(a[3])), hgt = static_cast<int>(num(a[4]));
    g_log = _wfopen(a[0].c_str(), L"ab");
    if (!g_log) {
        std::fprintf(stderr, "cannot open %s\n", utf8(a[0].c_str()).c_str());
        return kFailed;
    }
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = targetProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"ZtProbeTarget";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"ZtProbeTarget", L"probe target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             x, y, w, hgt, nullptr, nullptr, inst, nullptr);
    if (!h) {
        std::fprintf(stderr, "CreateWindow failed: %lu\n", GetLastError());
        return kFailed;
    }
    line({hwnds(h)});
    std::fflush(stdout);
    SetTimer(h, 1, 120000, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    std::fclose(g_log);
    g_log = nullptr;
    return kOk;
}

// ---------------------------------------------------------------- wait-window

struct Want {
    std::wstring cls, title;
    bool anyCls, anyTitle;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND h, LPARAM lp) {
    Want* w = reinterpret_cast<Want*>(lp);
    if (!IsWindowVisible(h))
        return TRUE;
    wchar_t buf[1024] = {0};
    if (!w->anyCls) {
        GetClassNameW(h, buf, 1024);
        if (w->cls != buf)
            return TRUE;
    }
    if (!w->anyTitle) {
        buf[0] = 0;
        GetWindowTextW(h, buf, 1024);
        if (w->title != buf)
            return TRUE;
    }
    w->found = h;
    return FALSE;
}

int cmdWaitWindow(const std::vector<std::wstring>& a) {
    need(a, 3, "wait-window CLASS|- TITLE|- SECONDS");
    Want w;
    w.cls = a[0];
    w.title = a[1];
    w.anyCls = (a[0] == L"-");
    w.anyTitle = (a[1] == L"-");
    w.found = nullptr;
    long long secs = num(a[2]);
    DWORD deadline = GetTickCount() + static_cast<DWORD>(secs * 1000);
    for (;;) {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&w));
        if (w.found) {
            line({hwnds(w.found)});
            return kOk;
        }
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return kFailed;
        Sleep(50);
    }
}

// ---------------------------------------------------------------- dispatch

typedef int (*Cmd)(const std::vector<std::wstring>&);

struct Entry {
    const wchar_t* name;
    Cmd fn;
};

const Entry kCommands[] = {
    {L"windows", cmdWindows},
    {L"children", cmdChildren},
    {L"pixel", cmdPixel},
    {L"pixels", cmdPixelsArgs},
    {L"text", cmdText},
    {L"check", cmdCheck},
    {L"focus", cmdFocus},
    {L"send", cmdSend},
    {L"post", cmdPost},
    {L"cursor", cmdCursor},
    {L"workarea", cmdWorkarea},
    {L"metrics", cmdMetrics},
    {L"gui", cmdGui},
    {L"procs", cmdProcs},
    {L"cmdline", cmdCmdline},
    {L"target", cmdTarget},
    {L"wait-window", cmdWaitWindow},
};

int run(const std::wstring& name, const std::vector<std::wstring>& args) {
    for (const Entry& e : kCommands) {
        if (name == e.name) {
            try {
                return e.fn(args);
            } catch (const BadArgs& b) {
                std::fprintf(stderr, "%s\n", b.why.c_str());
                return kBadArgs;
            }
        }
    }
    std::fprintf(stderr, "unknown command: %s\n", utf8(name.c_str()).c_str());
    return kBadArgs;
}

std::vector<std::wstring> splitTabs(const std::wstring& s) {
    std::vector<std::wstring> out;
    size_t start = 0;
    for (;;) {
        size_t t = s.find(L'\t', start);
        out.push_back(s.substr(start, t == std::wstring::npos ? std::wstring::npos : t - start));
        if (t == std::wstring::npos)
            break;
        start = t + 1;
    }
    return out;
}

// Every `wine probe.exe` costs a process start inside Wine; a harness that
// polls often keeps one probe alive and feeds it commands on stdin instead.
// Each command is a TAB-separated line; its output ends with "\x1e RC".
int serve() {
    char buf[8192];
    while (std::fgets(buf, sizeof buf, stdin)) {
        std::string s(buf);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        if (s.empty())
            continue;
        std::vector<std::wstring> parts = splitTabs(wide(s));
        std::wstring name = parts[0];
        parts.erase(parts.begin());
        int rc = (name == L"target" || name == L"serve") ? kBadArgs : run(name, parts);
        std::fflush(stderr);
        std::printf("\x1e %d\n", rc);
        std::fflush(stdout);
    }
    return kOk;
}

}  // namespace

int main() {
    // Binary stdout: the harness splits on LF and a CR would end up in fields.
    _setmode(_fileno(stdout), _O_BINARY);
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        std::fprintf(
            stderr,
            "usage: probe windows | children HWND | pixel X Y | pixels X Y W H | text HWND |\n"
            "  check HWND | focus | send HWND MSG WP LP | post HWND MSG WP LP | cursor |\n"
            "  workarea | metrics | gui PID | procs | cmdline PID | target OUTFILE X Y W H |\n"
            "  wait-window CLASS|- TITLE|- SECONDS | serve\n");
        return kBadArgs;
    }
    std::wstring name = argv[1];
    std::vector<std::wstring> args(argv + 2, argv + argc);
    LocalFree(argv);
    int rc = (name == L"serve") ? serve() : run(name, args);
    std::fflush(stdout);
    return rc;
}
