#include "hooks/HtSysHookDecode.h"

#include <cctype>

#include "hooks/HtSysHookCommon.h"

namespace corvane {

THtKeyStroke DecodeKeyStroke(std::uint64_t wParam, std::int64_t lParam)
{
    const auto flags = static_cast<std::uint32_t>(lParam);
    THtKeyStroke k{};
    k.VirtualKeyCode = static_cast<std::int32_t>(wParam & 0xFFFFu);
    k.RepeatCount = static_cast<std::uint16_t>(flags & 0xFFFFu);
    k.ScanCode = static_cast<std::uint8_t>((flags >> 16) & 0xFFu);
    k.isExtendedKey = (flags & (1u << 24)) != 0;
    k.altIsDown = (flags & (1u << 29)) != 0;
    k.keyWasDownBefore = (flags & (1u << 30)) != 0;
    k.keyIsBeingPressed = (flags & (1u << 31)) == 0;
    k.controlHeld = (wParam & (1u << 16)) != 0;
    k.shiftHeld = (wParam & (1u << 17)) != 0;
    k.altHeld = (wParam & (1u << 18)) != 0;
    k.takenByReceiver = (wParam & htKeyTakenBit) != 0;
    k.holdId = static_cast<std::uint8_t>((wParam >> htKeyHoldShift) & 0xFFu);
    return k;
}

THtMouseNotice DecodeMouse(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam)
{
    THtMouseNotice m{};
    m.sourceWindow = static_cast<std::uint32_t>(lParam);
    m.x = static_cast<std::int32_t>(wParam & 0xFFFFu);
    m.y = static_cast<std::int32_t>((wParam >> 16) & 0xFFFFu);
    const std::uint32_t n = code & 0xFu;
    m.isMove = n == 0;
    if (m.isMove)
        return m;
    switch ((n - 1) / 3) {
    case 1:
        m.button = TMouseButton::mbRight;
        break;
    case 2:
        m.button = TMouseButton::mbMiddle;
        break;
    default:
        m.button = TMouseButton::mbLeft;
        break;
    }
    static constexpr THtMouseButtonMovement movements[3]
        = {THtMouseButtonMovement::mbmDown, THtMouseButtonMovement::mbmUp, THtMouseButtonMovement::mbmDouble};
    m.movement = movements[(n - 1) % 3];
    return m;
}

THtShellNotice DecodeShell(
    std::uint32_t code, std::uint64_t wParam, std::int64_t lParam, std::uint32_t ownAppWindow, bool notifyOwnEvents)
{
    THtShellNotice s{};
    s.sourceWindow = static_cast<std::uint32_t>(wParam);
    s.isFlashing = lParam != 0;
    s.changedFeature = static_cast<std::int32_t>(wParam);
    bool aboutAWindow = true;
    switch (code) {
    case 1:
        s.event = THtShellEvent::WindowCreated;
        break;
    case 2:
        s.event = THtShellEvent::WindowDestroyed;
        break;
    case 3:
        s.event = THtShellEvent::ActivateShellWindow;
        aboutAWindow = false;
        break;
    case 4:
    case 0x8004: // with the high bit: another window was forced forward
        s.event = THtShellEvent::WindowActivated;
        break;
    case 6:
        s.event = THtShellEvent::WindowTitleRedraw;
        break;
    case 7:
        s.event = THtShellEvent::TaskManager;
        aboutAWindow = false;
        break;
    case 8:
        s.event = THtShellEvent::LanguageChange;
        break;
    case 11:
        s.event = THtShellEvent::AccessibilityStateChanged;
        aboutAWindow = false;
        break;
    default:
        s.event = THtShellEvent::None;
        aboutAWindow = false;
        break;
    }
    if (aboutAWindow && !notifyOwnEvents && s.sourceWindow == ownAppWindow)
        s.event = THtShellEvent::None;
    return s;
}

std::string TrimSystemMessage(std::string text)
{
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.back());
        if (c > ' ' && c != '.')
            break;
        text.pop_back();
    }
    return text;
}

std::string HookErrorText(std::int32_t code, const SystemMessageLookup& systemText)
{
    switch (code) {
    case htOk:
        return "No error.";
    case htMissingExports:
        return "DLL doesn't export all required functions.";
    case htAlreadyRegistered:
        return "Receiver already registered.";
    case htNotRegistered:
        return "Receiver not registered.";
    case htTooManyReceivers:
        return "Too many receivers.";
    case htAlreadyInstalled:
        return "System hook already installed.";
    default:
        break;
    }
    if (code > 0)
        return TrimSystemMessage(systemText ? systemText(code) : std::string());
    return "Unknown error " + std::to_string(code);
}

std::optional<std::string> DllRetryName(const std::string& name)
{
    const std::size_t sep = name.find_last_of("\\/:");
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && (sep == std::string::npos || dot > sep);
    if (!hasExtension)
        return name + ".dll";
    std::string ext = name.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dll")
        return std::nullopt;
    return name.substr(0, dot) + ".dll";
}

} // namespace corvane
