#include "hooks/HtSysHookStartup.h"

#include "library/UnitCommonProcs.h"

namespace corvane {

THtProgramHooks::THtProgramHooks(IHtHookHost& host) : ShellHook(host), KeyHook(host), MouseHook(host)
{
    ShellHook.Name = "ShellHook";
    KeyHook.Name = "KeyHook";
    MouseHook.Name = "MouseHook";
    // Filtering, so that a chord the program acts on never reaches the program it was typed into.
    KeyHook.SetAllowFiltering(true);
    ShellHook.NotifyOwnEvents = false;
}

bool THtProgramHooks::Start(std::uint32_t applicationWindow, const THookLibrarySite& site)
{
    if (!site.refusal.empty()) {
        ShowError(site.refusal);
        return false;
    }
    ShellHook.ApplicationWindow = applicationWindow;
    for (THtSysHook* c : {static_cast<THtSysHook*>(&ShellHook), static_cast<THtSysHook*>(&KeyHook),
             static_cast<THtSysHook*>(&MouseHook)})
        if (!c->Active())
            c->SetHookDLL(site.path);
    bool allStarted = false;
    for (int pass = 0; pass < HookStartPasses && !allStarted; ++pass) {
        allStarted = true;
        for (THtSysHook* c : {static_cast<THtSysHook*>(&ShellHook), static_cast<THtSysHook*>(&KeyHook),
                 static_cast<THtSysHook*>(&MouseHook)}) {
            // The error text can be empty for a code the system cannot
            // describe, so only the component's state tells success.
            (void)c->Start();
            allStarted = c->Active() && allStarted;
        }
    }
    if (!allStarted)
        ShowError(LibraryNotLoadedText);
    return allStarted;
}

void THtProgramHooks::Stop()
{
    MouseHook.Stop();
    KeyHook.Stop();
    ShellHook.Stop();
}

} // namespace corvane
