#pragma once
// Small window and keystroke operations used by reply delivery and the windows.
#include <windows.h>

#include <span>
#include <vector>

#include "hooks/HtSysHookDecode.h"
#include "platform/Desktop.h"

namespace corvane::win32 {

// The outermost window reached by following GetParent; the window itself
// when it has no parent.
HWND TopLevelWindow(HWND window);

// One key event as a keyboard sends it: its scan code in the current layout,
// the extended flag for the keys of the extended set (right Ctrl and Alt, the
// arrows and the block above them), and the mark that keeps it from the
// hook's receivers. False when the system refused it.
bool SendMarkedKey(int virtualKey, bool release);
// Such key events in one go: no other input comes between them. How many the
// system took.
UINT SendMarkedKeys(std::span<const TKeyEvent> keys);
// The user's keys held back while a reply went in, sent on as they were
// typed (unmarked: they are the user's).
void SendKeysAgain(const std::vector<THtKeyStroke>& keys);
// The release of the key that ends a hold where it comes through.
void SendHoldFence();

// The characters as keystrokes of their own, whatever the layout, marked as
// this program's; how many the system took.
UINT SendMarkedCharacters(const wchar_t* text, UINT count);

// Ctrl+V as four synthesised key events.
void SimulatePaste();

// Brings the window forward and pastes into it at once, without waiting.
void ActivateAndPaste(HWND window);

// Brings `to` to the foreground even when another application owns it, by
// joining the input of the two windows' threads for the call.
void ForceForeground(HWND from, HWND to);

} // namespace corvane::win32
