#pragma once
// File, "Import replies..." and "Export replies...", and the Statistics window.
#include <windows.h>

namespace corvane {
class IMessageBoxes;
class IRegistry;
} // namespace corvane

namespace corvane::win32 {

class LibraryPanel;

// True when `id` was one of these commands.
bool RunExchangeCommand(int id, HWND owner, LibraryPanel& library, IRegistry& registry, IMessageBoxes& boxes);
// Shows the figures file's Statistics; the counting setting and the typing speed chosen there are stored.
void ShowStatisticsWindow(HWND owner, LibraryPanel& library, IRegistry& registry);

} // namespace corvane::win32
