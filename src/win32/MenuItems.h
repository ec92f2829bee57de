#pragma once
// Appending items to a menu.
#include <windows.h>

namespace corvane::win32 {

inline void AppendItem(HMENU menu, UINT id, const char* text) { AppendMenuA(menu, MF_STRING, id, text); }

inline void AppendSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

} // namespace corvane::win32
