#pragma once
// Small window and keystroke operations used by reply delivery and the windows.
#include <windows.h>

namespace corvane::win32 {

// The outermost window reached by following GetParent; the window itself
// when it has no parent.
HWND TopLevelWindow(HWND window);

// Ctrl+V as four synthesised key events.
void SimulatePaste();

// Brings the window forward and pastes into it at once, without waiting.
void ActivateAndPaste(HWND window);

// Brings `to` to the foreground even when another application owns it, by
// joining the input of the two windows' threads for the call.
void ForceForeground(HWND from, HWND to);

} // namespace corvane::win32
