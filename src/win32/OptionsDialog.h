#pragma once
// The options dialog "Corvane - Options".
#include <windows.h>

#include <string>

namespace corvane {
class IRegistry;
}

namespace corvane::win32 {

// Modal over `mainWindow`, which it also makes topmost when Always on Top is
// switched on. True after "Ok" when the team library setting changed, so
// that the library is loaded anew.
bool ShowOptionsDialog(HWND mainWindow, IRegistry& registry, const std::string& programPath);

} // namespace corvane::win32
