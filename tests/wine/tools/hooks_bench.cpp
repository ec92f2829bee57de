// Figures of the hook path, measured from a program that receives synthesised
// input in its own focused window:
//   hooks_bench keys <n>      n keystrokes (down and up), each awaited
//   hooks_bench moves <n>     n mouse moves, each awaited
//   hooks_bench latency <n>   keyboard component on a second thread: time from
//                             synthesising a key to its OnKeyAction
// Run once with no receivers registered and once with Corvane running; the
// difference is the cost the hooks add. Prints one line of figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hooks/HtSysHookComp.h"
#include "win32/HtSysHookHost.h"

namespace {

volatile LONG g_keys = 0;
volatile LONG g_moves = 0;

LRESULT CALLBACK BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        InterlockedIncrement(&g_keys);
        return 0;
    case WM_MOUSEMOVE:
        InterlockedIncrement(&g_moves);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// CPU time of this process so far, in milliseconds.
double CpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Dispatches until *counter reaches target; false after a second without it.
// Polls rather than sleeps, so that the figures hold no wake-up delays.
bool PumpUntil(volatile LONG* counter, LONG target)
{
    const double end = Now() + 1.0;
    MSG msg;
    while (*counter < target) {
        if (Now() > end)
            return false;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    return true;
}

void SendKey(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void SendMoveTo(int x, int y)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

HWND CreateBenchWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "HooksBench";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "HooksBench", "Hooks Bench", WS_POPUP | WS_VISIBLE, 200, 200, 400, 300, nullptr,
        nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(w);
    SetFocus(w);
    MSG msg;
    const double end = Now() + 0.5;
    while (Now() < end)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    return w;
}

int Keys(int n)
{
    const double t0 = Now();
    int lost = 0;
    for (int i = 0; i < n; ++i) {
        const LONG before = g_keys;
        SendKey(VK_F13, i % 2 == 1);
        if (!PumpUntil(&g_keys, before + 1))
            ++lost;
    }
    const double total = Now() - t0;
    std::printf("keys n=%d total_ms=%.1f per_event_us=%.1f lost=%d cpu_ms=%.0f\n", n, total * 1e3, total * 1e6 / n,
        lost, CpuMs());
    return lost == n ? 1 : 0;
}

int Moves(int n)
{
    SetCursorPos(400, 350);
    const double t0 = Now();
    int lost = 0;
    for (int i = 0; i < n; ++i) {
        const LONG before = g_moves;
        SendMoveTo(300 + (i % 2) * 5, 350);
        if (!PumpUntil(&g_moves, before + 1))
            ++lost;
    }
    const double total = Now() - t0;
    std::printf("moves n=%d total_ms=%.1f per_event_us=%.1f lost=%d cpu_ms=%.0f\n", n, total * 1e3, total * 1e6 / n,
        lost, CpuMs());
    return lost == n ? 1 : 0;
}

// ---- Latency: the keyboard component lives on its own thread.
volatile LONG g_notified = 0;
double g_notifiedAt[200000];
HANDLE g_componentReady = nullptr;
std::string g_dll = "Tolvar";
std::string g_componentError;

DWORD WINAPI ComponentThread(void*)
{
    corvane::THtKeyboardHook key(corvane::win32::HookHost());
    key.SetHookDLL(g_dll);
    key.OnKeyAction
        = [](corvane::THtSysHook&, std::int32_t vk, std::uint16_t, std::uint8_t, bool, bool, bool, bool, bool&) {
              if (vk != VK_F13)
                  return;
              const LONG i = g_notified;
              if (i < 200000)
                  g_notifiedAt[i] = Now();
              InterlockedIncrement(&g_notified);
          };
    g_componentError = key.Start();
    SetEvent(g_componentReady);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    key.Stop();
    return 0;
}

int Latency(int n)
{
    g_componentReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD tid = 0;
    HANDLE thread = CreateThread(nullptr, 0, ComponentThread, nullptr, 0, &tid);
    WaitForSingleObject(g_componentReady, INFINITE);
    if (!g_componentError.empty()) {
        std::printf("error %s\n", g_componentError.c_str());
        return 1;
    }
    std::vector<double> latencies;
    int lost = 0;
    for (int i = 0; i < n && i < 200000; ++i) {
        const LONG before = g_notified;
        const double t0 = Now();
        SendKey(VK_F13, i % 2 == 1);
        if (!PumpUntil(&g_notified, before + 1)) {
            ++lost;
            continue;
        }
        latencies.push_back(g_notifiedAt[before] - t0);
    }
    PostThreadMessageA(tid, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 5000);
    if (latencies.empty()) {
        std::printf("latency n=%d lost=%d\n", n, lost);
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    double sum = 0;
    for (double l : latencies)
        sum += l;
    std::printf("latency n=%zu mean_us=%.1f median_us=%.1f p95_us=%.1f max_us=%.1f lost=%d\n", latencies.size(),
        sum * 1e6 / latencies.size(), latencies[latencies.size() / 2] * 1e6,
        latencies[latencies.size() * 95 / 100] * 1e6, latencies.back() * 1e6, lost);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::printf("usage: hooks_bench keys|moves|latency <n> [dll]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const int n = std::atoi(argv[2]);
    if (argc > 3)
        g_dll = argv[3];
    CreateBenchWindow();
    if (mode == "keys")
        return Keys(n);
    if (mode == "moves")
        return Moves(n);
    if (mode == "latency")
        return Latency(n);
    return 2;
}
