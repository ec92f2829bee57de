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

// The extra information (dwExtraInfo) of the keys the program synthesises.
// The hook tells them apart from the user's by it: the program's own
// delivery keys are never recorded or taken; keys it held back and sends
// again are the user's typing; a fence closes such a resend.
constexpr std::uint32_t htInputMarkMask = 0xFFFFFF00u;
constexpr std::uint32_t htInputMarkBase = 0x43564E00u;
constexpr std::uint32_t htMarkDelivery = htInputMarkBase | 1u;
constexpr std::uint32_t htMarkReplay = htInputMarkBase | 2u;
constexpr std::uint32_t htMarkFence = htInputMarkBase | 3u;

// Where a key came from, as the keyboard notification tells it.
enum class THtKeyOrigin : std::uint8_t { User = 0, Delivery = 1, Replay = 2, Fence = 3 };

inline THtKeyOrigin KeyOriginOfExtraInfo(std::uint64_t extraInfo)
{
    const auto low = static_cast<std::uint32_t>(extraInfo);
    if ((low & htInputMarkMask) != htInputMarkBase || extraInfo > 0xFFFFFFFFu)
        return THtKeyOrigin::User;
    switch (low) {
    case htMarkDelivery:
        return THtKeyOrigin::Delivery;
    case htMarkReplay:
        return THtKeyOrigin::Replay;
    case htMarkFence:
        return THtKeyOrigin::Fence;
    default:
        return THtKeyOrigin::User;
    }
}

// Flags of the input state the program publishes to every hooked process.
constexpr std::uint32_t htStatePaused = 1u; // no key is told at all
constexpr std::uint32_t htStateQuietMouseMoves = 2u; // nobody listens to mouse moves
constexpr std::uint32_t htExcludedProgramsSize = 2048;

} // namespace corvane
