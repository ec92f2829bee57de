#pragma once
// The DPI a window is shown at, and the system sizes and fonts at that DPI.
// The per-monitor functions exist only on newer Windows; on older ones the
// system's DPI stands in for every monitor's.
#include <windows.h>

#include "win32/Handles.h"

namespace corvane::win32 {

// The DPI of the monitor the window is on (per-monitor awareness), else the
// system's.
int WindowDpi(HWND window);
int SystemDpi();
// A system metric (SM_CXSMICON, ...) at `dpi`.
int SystemMetricAtDpi(int index, int dpi);
// The system's message font at `dpi`: what the window's own controls use.
UniqueGdiObject CreateMessageFontAtDpi(int dpi);
// The system's menu font at `dpi`: what menus of a window at that DPI show.
UniqueGdiObject CreateMenuFontAtDpi(int dpi);
// A rich-text control draws its text's points at the system's DPI: zoomed so
// that they come out at `dpi`, the DPI of its window.
void ZoomTextToDpi(HWND richEdit, int dpi);

} // namespace corvane::win32
