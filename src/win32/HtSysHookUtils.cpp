#include "win32/HtSysHookUtils.h"

#include <vector>

#include "engine/KeyGate.h"
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

namespace {

INPUT KeyInput(int virtualKey, UINT scan, bool extended, bool release, ULONG_PTR extraInfo)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(scan & 0xFFu);
    input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0u) | (extended ? KEYEVENTF_EXTENDEDKEY : 0u);
    input.ki.dwExtraInfo = extraInfo;
    return input;
}

INPUT MarkedKeyInput(int virtualKey, bool release, HKL layout)
{
    constexpr UINT VkToScanWithPrefix = 4; // MAPVK_VK_TO_VSC_EX
    UINT scan = MapVirtualKeyExA(static_cast<UINT>(virtualKey), VkToScanWithPrefix, layout);
    if (scan == 0)
        scan = MapVirtualKeyExA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC, layout);
    return KeyInput(virtualKey, scan, IsExtendedKey(virtualKey, scan), release, htOwnInputMark);
}

} // namespace

bool SendMarkedKey(int virtualKey, bool release)
{
    INPUT input = MarkedKeyInput(virtualKey, release, GetKeyboardLayout(0));
    return SendInput(1, &input, sizeof input) == 1;
}

UINT SendMarkedKeys(std::span<const TKeyEvent> keys)
{
    const HKL layout = GetKeyboardLayout(0);
    std::vector<INPUT> inputs;
    inputs.reserve(keys.size());
    for (const TKeyEvent& key : keys)
        inputs.push_back(MarkedKeyInput(key.virtualKey, key.release, layout));
    return inputs.empty() ? 0 : SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendHoldFence()
{
    INPUT input = KeyInput(HoldFenceKey, 0, false, true, htOwnInputMark);
    SendInput(1, &input, sizeof input);
}

void SendKeysAgain(const std::vector<THtKeyStroke>& keys)
{
    if (keys.empty())
        return;
    // A key typed with Shift, which is up by now, gets Shift around it.
    const UINT shiftScan = MapVirtualKeyA(VK_LSHIFT, MAPVK_VK_TO_VSC);
    bool shiftDown = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    std::vector<INPUT> inputs;
    for (const THtKeyStroke& key : keys) {
        const bool addShift = key.keyIsBeingPressed && key.shiftHeld && !shiftDown;
        if (addShift)
            inputs.push_back(KeyInput(VK_LSHIFT, shiftScan, false, false, 0));
        inputs.push_back(KeyInput(key.VirtualKeyCode, key.ScanCode, key.isExtendedKey, !key.keyIsBeingPressed, 0));
        if (addShift)
            inputs.push_back(KeyInput(VK_LSHIFT, shiftScan, false, true, 0));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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
