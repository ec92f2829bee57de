#pragma once
// The system side of the hook receiver components: the process's library
// loader, hidden listener windows and the system's error texts.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/KeyGate.h"
#include "hooks/HtSysHookComp.h"

namespace corvane::win32 {

// The one host of the process; its loader is shared by every component.
IHtHookHost& HookHost();

// What the receiver thread asks, on that thread, of the program.
struct THookReceiverRoles {
    // For every key the hook tells; the hooked program waits for it.
    std::function<TGateVerdict(const THtKeyStroke& key)> decideKey;
    // A mouse click anywhere.
    std::function<void()> mouseClicked;
    // Every HoldLimitMs while hold `id`, begun by decideKey, is on.
    std::function<THoldCheck(std::uint8_t id)> checkHold;
};

// From now on listeners are windows of a thread of their own, which answers
// the hooked programs at once and passes each notification on, posted, to
// the listener's component on the thread that started it. Call before the
// components start; the thread ends with the process's host.
void UseReceiverThread(THookReceiverRoles roles);

// HookErrorText with the system's own message texts for Windows codes.
std::string HookErrorTextOf(std::int32_t code);

} // namespace corvane::win32
