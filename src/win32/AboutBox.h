#pragma once
// The about box "Corvane - About".
#include <windows.h>

namespace corvane::win32 {

// Modal over `mainWindow`, showing `logo` (not taken over).
void ShowAboutBox(HWND mainWindow, HICON logo);

} // namespace corvane::win32
