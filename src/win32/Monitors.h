#pragma once
// The desktop's monitors as the placement rules see them: each with its
// work area and its own DPI, and the frame Windows draws at a DPI. The
// per-monitor functions exist only on newer Windows; where they are missing
// every monitor has the system's DPI.
#include <windows.h>

#include <optional>

#include "shell/MonitorPlacement.h"

namespace corvane::win32 {

class Win32Monitors final : public IMonitors {
public:
    TMonitor OfRect(const TRect& r) const override;
    TMonitor OfPoint(int x, int y) const override;
    TFrame FrameAt(const TFrameStyle& style, int dpi) const override;
};

TRect RectOf(HWND window);
TMonitor MonitorOfWindow(HWND window);
TFrameStyle FrameStyleOf(HWND window);
// The text caret of the thread that owns `window`, in screen coordinates.
std::optional<TRect> CaretOf(HWND window);
// Moves and sizes a top-level window to `r`. A move onto a monitor of
// another DPI changes the window's DPI on the way (WM_DPICHANGED), after
// which Windows may have sized it for itself: it is put to `r` again.
void MoveToRect(HWND window, const TRect& r, HWND insertAfter = nullptr);

} // namespace corvane::win32
