#pragma once
// The system side of the hook receiver components: the process's library
// loader, hidden listener windows and the system's error texts.
#include <cstdint>
#include <string>

#include "hooks/HtSysHookComp.h"

namespace corvane::win32 {

// The one host of the process; its loader is shared by every component.
IHtHookHost& HookHost();

// HookErrorText with the system's own message texts for Windows codes.
std::string HookErrorTextOf(std::int32_t code);

} // namespace corvane::win32
