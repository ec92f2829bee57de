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
    // The receiver thread answered the program already (a chord, an ending
    // key, an undo); the engine hears of every key, in order, afterwards.
    hooks.KeyHook.OnKeyAction = [&engine, &keyHook = hooks.KeyHook](THtSysHook&, std::int32_t virtualKey, std::uint16_t,
                                    std::uint8_t scanCode, bool, bool, bool, bool pressed, bool&) {
        const THtKeyStroke& k = keyHook.KeyBeingHandled();
        const bool synthesised = IsSynthesisedKey(virtualKey);
        (void)engine.TakesKey(
            virtualKey, pressed, {k.controlHeld, k.altHeld, k.shiftHeld}, synthesised, k.takenByReceiver);
        engine.AgreeOnTaken(virtualKey, pressed, k.takenByReceiver);
        engine.KeyAction(virtualKey, pressed, scanCode, synthesised, k.holdId);
        engine.PublishUndoChance();
    };
    hooks.MouseHook.OnMouseClick
        = [&engine](THtSysHook&, std::uint32_t, std::int32_t, std::int32_t, TMouseButton, THtMouseButtonMovement) {
              engine.MouseClick();
              engine.PublishUndoChance();
          };
    hooks.ShellHook.OnWindowActivated = [&engine](THtSysHook&, std::uint32_t window) {
        engine.WindowActivated(WindowFromNotice(window));
        engine.PublishUndoChance();
    };
    hooks.ShellHook.OnWindowDestroyed
        = [&engine, terminating = std::move(terminating)](
              THtSysHook&, std::uint32_t window) { engine.WindowDestroyed(WindowFromNotice(window), terminating()); };
}

} // namespace corvane
