#include "win32/HtSysHookUtils.h"

#include <vector>

#include "hooks/HtSysHookCommon.h"

namespace corvane::win32 {

namespace {

bool IsExtendedKey(int virtualKey, UINT scanWithPrefix)
{
    if ((scanWithPrefix & 0xFF00u) == 0xE000u || (scanWithPrefix & 0xFF00u) == 0xE100u)
        return true;
    switch (virtualKey) {
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_SNAPSHOT:
        return true;
    default:
        return false;
    }
}

} // namespace

bool SendMarkedKey(int virtualKey, bool release)
{
    constexpr UINT VkToScanWithPrefix = 4; // MAPVK_VK_TO_VSC_EX
    const HKL layout = GetKeyboardLayout(0);
    UINT scan = MapVirtualKeyExA(static_cast<UINT>(virtualKey), VkToScanWithPrefix, layout);
    if (scan == 0)
        scan = MapVirtualKeyExA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC, layout);
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(scan & 0xFFu);
    input.ki.dwFlags
        = (release ? KEYEVENTF_KEYUP : 0u) | (IsExtendedKey(virtualKey, scan) ? KEYEVENTF_EXTENDEDKEY : 0u);
    input.ki.dwExtraInfo = htOwnInputMark;
    return SendInput(1, &input, sizeof input) == 1;
}

UINT SendMarkedCharacters(const wchar_t* text, UINT count)
{
    std::vector<INPUT> inputs;
    for (UINT i = 0; i < count; ++i)
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<WORD>(text[i]);
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            input.ki.dwExtraInfo = htOwnInputMark;
            inputs.push_back(input);
        }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) / 2;
}

HWND TopLevelWindow(HWND window)
{
    HWND top = window;
    for (HWND parent = GetParent(top); parent; parent = GetParent(top))
        top = parent;
    return top;
}

void SimulatePaste()
{
    constexpr int VkV = 0x56;
    SendMarkedKey(VK_CONTROL, false);
    SendMarkedKey(VkV, false);
    SendMarkedKey(VkV, true);
    SendMarkedKey(VK_CONTROL, true);
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
