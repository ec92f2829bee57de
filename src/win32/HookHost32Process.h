#pragma once
// Starts and ends the host of the hook library for 32-bit programs (see
// hooks/HookHost32.h); the decision is HookHost32Path's.
#include <string>

#include "hooks/HookLibrarySite.h"

namespace corvane::win32 {

// True on 64-bit Windows, whichever bitness this program has.
bool WindowsIs64Bit();

class HookHost32Process {
public:
    HookHost32Process() = default;
    HookHost32Process(const HookHost32Process&) = delete;
    HookHost32Process& operator=(const HookHost32Process&) = delete;
    ~HookHost32Process() { End(); }

    // Starts the host at `path` (a full path; empty: nothing to start) for
    // this process. False when it could not be started: 32-bit programs
    // then go on being served from this program's own hooks.
    bool Start(const std::string& path);
    // Asks the host to end, and ends it when it does not within the limit.
    void End();
    bool Running() const { return process_ != nullptr; }

private:
    void* process_ = nullptr;
    unsigned long thread_ = 0;
};

} // namespace corvane::win32
