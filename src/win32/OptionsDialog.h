#pragma once
// The options dialog "Corvane - Options".
#include <windows.h>

#include <string>

namespace corvane {
class IRegistry;
}

namespace corvane::win32 {

struct OptionsOutcome {
    bool ok = false; // closed with "Ok"
    bool teamLibraryChanged = false; // so the team library is loaded anew
};

// Modal over `mainWindow`, which it also makes topmost when Always on Top is
// switched on.
OptionsOutcome ShowOptionsDialog(HWND mainWindow, IRegistry& registry, const std::string& programPath);

} // namespace corvane::win32
