#include "win32/HtSysHookUtils.h"

namespace corvane::win32 {

HWND TopLevelWindow(HWND window)
{
    HWND top = window;
    for (HWND parent = GetParent(top); parent; parent = GetParent(top))
        top = parent;
    return top;
}

void SimulatePaste()
{
    constexpr BYTE VkV = 0x56;
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(VkV, 0, 0, 0);
    keybd_event(VkV, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

void ActivateAndPaste(HWND window)
{
    SetForegroundWindow(window);
    SimulatePaste();
}

void ForceForeground(HWND from, HWND to)
{
    const DWORD first = GetWindowThreadProcessId(from, nullptr);
    const DWORD second = GetWindowThreadProcessId(to, nullptr);
    AttachThreadInput(first, second, TRUE);
    SetForegroundWindow(to);
    AttachThreadInput(first, second, FALSE);
}

} // namespace corvane::win32
