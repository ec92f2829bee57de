#include "win32/Monitors.h"

#include "win32/DisplayDpi.h"

namespace corvane::win32 {

namespace {

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

template <typename Function> Function LibraryFunction(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    if (!module)
        module = LoadLibraryA(library); // kept loaded: the pointer lives as long as the program
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

int DpiOfMonitor(HMONITOR monitor)
{
    static const auto forMonitor = LibraryFunction<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return SystemDpi();
}

TRect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TMonitor Describe(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoA(monitor, &info)) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
        info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {ToRect(info.rcMonitor), ToRect(info.rcWork), DpiOfMonitor(monitor)};
}

} // namespace

TMonitor Win32Monitors::OfRect(const TRect& r) const
{
    const RECT rect{r.left, r.top, r.right, r.bottom};
    return Describe(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}

TMonitor Win32Monitors::OfPoint(int x, int y) const
{
    return Describe(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST));
}

TFrame Win32Monitors::FrameAt(const TFrameStyle& style, int dpi) const
{
    static const auto forDpi = LibraryFunction<AdjustWindowRectExForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, 0, 0};
    if (forDpi)
        forDpi(&r, style.style, style.menu, style.exStyle, static_cast<UINT>(dpi));
    else // without it, no window is at any DPI but the system's
        AdjustWindowRectEx(&r, style.style, style.menu, style.exStyle);
    return {-r.left, -r.top, r.right, r.bottom};
}

TRect RectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return ToRect(r);
}

TMonitor MonitorOfWindow(HWND window) { return Describe(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

TFrameStyle FrameStyleOf(HWND window)
{
    return {static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_STYLE)),
        static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_EXSTYLE)),
        (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0 && GetMenu(window) != nullptr};
}

std::optional<TRect> CaretOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndCaret)
        return std::nullopt;
    RECT r = info.rcCaret;
    MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return ToRect(r);
}

void MoveToRect(HWND window, const TRect& r, HWND insertAfter)
{
    const UINT flags = SWP_NOACTIVATE | (insertAfter ? 0 : SWP_NOZORDER);
    for (int pass = 0; pass < 2; ++pass)
        SetWindowPos(window, insertAfter, r.left, r.top, r.Width(), r.Height(), flags);
}

} // namespace corvane::win32
