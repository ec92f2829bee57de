#include "engine/HookWiring.h"

#include "engine/Delivery.h"
#include "hooks/HtSysHookStartup.h"

namespace corvane {

void ConnectEngine(THtProgramHooks& hooks, TEngine& engine, std::function<bool()> terminating)
{
    // The receiver thread took the key for a chord: the engine records the
    // chord (a press too short for the poll to see is still carried out).
    hooks.KeyHook.OnKeyTaken = [&engine](const THtKeyStroke& k) {
        (void)engine.TakesChordKey(k.VirtualKeyCode, k.keyIsBeingPressed, {k.controlHeld, k.altHeld, k.shiftHeld});
    };
    hooks.KeyHook.OnKeyAction = [&engine, &keyHook = hooks.KeyHook](THtSysHook&, std::int32_t virtualKey, std::uint16_t,
                                    std::uint8_t scanCode, bool, bool, bool, bool pressed, bool&) {
        engine.KeyAction(virtualKey, pressed, scanCode, keyHook.KeyBeingHandled().holdId);
    };
    hooks.MouseHook.OnMouseClick = [&engine](THtSysHook&, std::uint32_t, std::int32_t, std::int32_t, TMouseButton,
                                       THtMouseButtonMovement) { engine.MouseClick(); };
    hooks.ShellHook.OnWindowActivated
        = [&engine](THtSysHook&, std::uint32_t window) { engine.WindowActivated(WindowFromNotice(window)); };
    hooks.ShellHook.OnWindowDestroyed
        = [&engine, terminating = std::move(terminating)](
              THtSysHook&, std::uint32_t window) { engine.WindowDestroyed(WindowFromNotice(window), terminating()); };
}

} // namespace corvane
