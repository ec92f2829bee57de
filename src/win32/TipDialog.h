#pragma once
// The tip-of-the-day dialog. It is made on first use, is modal to the main
// window, and keeps its tips until the program ends.
#include <windows.h>

namespace corvane {
class IRegistry;
}

namespace corvane::win32 {

// Help menu "Tip of the &Day": shows the dialog whatever ShowTips says.
void ShowTipOfTheDay(HWND mainWindow, IRegistry& registry);
// The start-up timer's tick: shows the dialog only when ShowTips is 1.
void ShowStartupTip(HWND mainWindow, IRegistry& registry);

} // namespace corvane::win32
