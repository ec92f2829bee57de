#pragma once
// What the program and the hook library share: hook types, result codes and
// the notification message base. Nothing else crosses between them.
#include <cstdint>

namespace corvane {

using THtHookType = std::uint8_t;

constexpr THtHookType hkShell = 0;
constexpr THtHookType hkKeyboard = 1;
constexpr THtHookType hkMouse = 2;
constexpr THtHookType hkCBT = 3;
constexpr int HookTypeCount = 4;

// Result codes of AttachReceiver / DetachReceiver / LastError and of the
// loader; a code above 0 is a Windows error code.
constexpr std::int32_t htOk = 0;
constexpr std::int32_t htMissingExports = -1;
constexpr std::int32_t htAlreadyRegistered = -2;
constexpr std::int32_t htNotRegistered = -3;
constexpr std::int32_t htTooManyReceivers = -4;
constexpr std::int32_t htAlreadyInstalled = -5;

// Every notification is this message plus a code.
constexpr std::uint32_t htNotifyBase = 0x400; // WM_USER

// The extra information every key this program synthesises carries, so that
// the hook library tells nobody of them: they are never typed text nor a chord.
constexpr std::uint32_t htOwnInputMark = 0x43765231;

// Flags of the input state the program publishes to every hooked process.
constexpr std::uint32_t htStatePaused = 1u; // no key is told at all
constexpr std::uint32_t htStateQuietMouseMoves = 2u; // nobody listens to mouse moves
// The focused element is a password as UI Automation reports it, which only
// the program asks: its keys are told as a password field's.
constexpr std::uint32_t htStatePasswordFocus = 4u;
constexpr std::uint32_t htExcludedProgramsSize = 2048;

} // namespace corvane
