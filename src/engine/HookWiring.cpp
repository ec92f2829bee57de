#include "engine/HookWiring.h"

#include "engine/Delivery.h"
#include "hooks/HtSysHookStartup.h"

namespace corvane {

bool IsSynthesisedKey(int virtualKey)
{
    constexpr int VkPacket = 0xE7;
    return virtualKey == VkPacket;
}

void ConnectEngine(THtProgramHooks& hooks, TEngine& engine, std::function<bool()> terminating)
{
    hooks.KeyHook.OnKeyFilter = [&engine](const THtKeyStroke& k) {
        return engine.TakesKey(k.VirtualKeyCode, k.keyIsBeingPressed, {k.controlHeld, k.altHeld, k.shiftHeld},
            IsSynthesisedKey(k.VirtualKeyCode));
    };
    hooks.KeyHook.OnKeyAction
        = [&engine](THtSysHook&, std::int32_t virtualKey, std::uint16_t, std::uint8_t scanCode, bool, bool, bool,
              bool pressed, bool&) { engine.KeyAction(virtualKey, pressed, scanCode, IsSynthesisedKey(virtualKey)); };
    hooks.MouseHook.OnMouseClick = [&engine](THtSysHook&, std::uint32_t, std::int32_t, std::int32_t, TMouseButton,
                                       THtMouseButtonMovement) { engine.MouseClick(); };
    hooks.ShellHook.OnWindowActivated
        = [&engine](THtSysHook&, std::uint32_t window) { engine.WindowActivated(WindowFromNotice(window)); };
    hooks.ShellHook.OnWindowDestroyed
        = [&engine, terminating = std::move(terminating)](
              THtSysHook&, std::uint32_t window) { engine.WindowDestroyed(WindowFromNotice(window), terminating()); };
}

} // namespace corvane
