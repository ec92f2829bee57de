#pragma once
// The main window's three hook receivers and how they are started and stopped.
#include <cstdint>

#include "hooks/HookLibrarySite.h"
#include "hooks/HtSysHookComp.h"
#include "library/Texts.h"

namespace corvane {

constexpr int HookStartPasses = 3;

class THtProgramHooks {
public:
    explicit THtProgramHooks(IHtHookHost& host);

    // Starts shell, keyboard and mouse on the library at `site`, passing
    // over all three again while any fails, at most three passes; then shows
    // the error box once and carries on. A site with a refusal starts none
    // and shows the refusal. True when all three run.
    bool Start(std::uint32_t applicationWindow, const THookLibrarySite& site);
    // Mouse, keyboard, shell.
    void Stop();

    // Declared in start order, so that destruction stops them in reverse.
    THtShellHook ShellHook;
    THtKeyboardHook KeyHook;
    THtMouseHook MouseHook;
};

} // namespace corvane
