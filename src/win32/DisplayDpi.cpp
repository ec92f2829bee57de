#include "win32/DisplayDpi.h"

#include <richedit.h>

#include "shell/MonitorPlacement.h"

namespace corvane::win32 {

namespace {

constexpr int kDefaultDpi = 96;

// A user32 function of newer Windows, or null; looked up so that the program
// still starts where it is missing.
template <typename Function> Function User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

} // namespace

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window)
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemMetricAtDpi(int index, int dpi)
{
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

namespace {

// One of the non-client fonts (message, menu, ...) at `dpi`.
UniqueGdiObject NonClientFontAtDpi(int dpi, LOGFONTW NONCLIENTMETRICSW::*font)
{
    static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    // The wide structure: the per-DPI function has no ANSI form.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        return UniqueGdiObject(CreateFontIndirectW(&(metrics.*font)));
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        (metrics.*font).lfHeight = MulDiv((metrics.*font).lfHeight, dpi, SystemDpi());
        return UniqueGdiObject(CreateFontIndirectW(&(metrics.*font)));
    }
    return UniqueGdiObject(CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Shell Dlg"));
}

} // namespace

UniqueGdiObject CreateMessageFontAtDpi(int dpi) { return NonClientFontAtDpi(dpi, &NONCLIENTMETRICSW::lfMessageFont); }

UniqueGdiObject CreateMenuFontAtDpi(int dpi) { return NonClientFontAtDpi(dpi, &NONCLIENTMETRICSW::lfMenuFont); }

void ZoomTextToDpi(HWND richEdit, int dpi)
{
    const TZoom zoom = EditorZoom(dpi, SystemDpi());
    SendMessageA(richEdit, EM_SETZOOM, static_cast<WPARAM>(zoom.numerator), static_cast<LPARAM>(zoom.denominator));
}

} // namespace corvane::win32
