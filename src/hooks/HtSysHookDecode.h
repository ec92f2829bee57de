#pragma once
// Decoding of the hook library's notifications into typed events, and the
// texts of its result codes. A few bit operations per message; no allocation.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "hooks/HtSysHookCommon.h"

namespace corvane {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class THtMouseButtonMovement { mbmDown, mbmUp, mbmDouble };

struct THtKeyStroke {
    std::int32_t VirtualKeyCode;
    std::uint16_t RepeatCount;
    std::uint8_t ScanCode;
    bool isExtendedKey;
    bool altIsDown;
    bool keyWasDownBefore;
    bool keyIsBeingPressed;
    // As the key state of the program the key was typed into had them.
    bool controlHeld;
    bool shiftHeld;
    bool altHeld;
    // The receiver thread took the key away from its program already.
    bool takenByReceiver;
    // The receiver thread holds back the keys typed after this one under
    // this number (0: none) until the engine is done with it.
    std::uint8_t holdId;
};

// Set in a keyboard notification's wParam by the receiver thread when it
// took the key; the hook library never sets it.
constexpr std::uint64_t htKeyTakenBit = 1u << 23;
// Bits 24 to 31 of the same wParam: the hold number.
constexpr int htKeyHoldShift = 24;

// wParam: virtual-key code, with Ctrl, Shift and Alt in bits 16 to 18, and
// htKeyTakenBit and the hold number; lParam: the keystroke flags.
THtKeyStroke DecodeKeyStroke(std::uint64_t wParam, std::int64_t lParam);

struct THtMouseNotice {
    bool isMove;
    std::uint32_t sourceWindow;
    std::int32_t x, y; // unsigned 16-bit values: -1 arrives as 65535
    TMouseButton button;
    THtMouseButtonMovement movement;
};

// code: the mouse message number; wParam: packed position; lParam: window.
THtMouseNotice DecodeMouse(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam);

enum class THtShellEvent {
    None,
    WindowCreated,
    WindowDestroyed,
    ActivateShellWindow,
    WindowActivated,
    WindowTitleRedraw,
    TaskManager,
    LanguageChange,
    AccessibilityStateChanged,
};

struct THtShellNotice {
    THtShellEvent event;
    std::uint32_t sourceWindow;
    bool isFlashing;
    std::int32_t changedFeature;
};

// Events about the program's own application window are left out unless
// notifyOwnEvents is set.
THtShellNotice DecodeShell(
    std::uint32_t code, std::uint64_t wParam, std::int64_t lParam, std::uint32_t ownAppWindow, bool notifyOwnEvents);

// The system's message text for a Windows error code, or empty when it has none.
using SystemMessageLookup = std::function<std::string(std::int32_t code)>;

// Text of a result code of the hook library or of the loader.
std::string HookErrorText(std::int32_t code, const SystemMessageLookup& systemText);

// The system's message without trailing spaces, control characters and full stops.
std::string TrimSystemMessage(std::string text);

// The name to try when loading `name` failed: its extension replaced by (or,
// without one, appended with) ".dll"; nothing when it already ends in ".dll"
// in any letter case.
std::optional<std::string> DllRetryName(const std::string& name);

} // namespace corvane
