// Keystroke, click and activation notifications in any order, with the
// notifications of the engine's own keys coming back at any time: an
// expansion never sends more Backspaces than characters were typed since
// the typed text was last reset, plus the one for the space.
#include "unit/engine/EngineTestRig.h"

#include "fuzz/FuzzInput.h"
#include "library/UnitCommonProcs.h"

using namespace corvane;
using namespace corvane::fuzz;
using namespace corvane::testing;

namespace {

// Keys the recogniser treats alike are picked from one of these groups.
int PickKey(FuzzInput& in)
{
    static constexpr int interesting[] = {VkSpace, VkShift, VkLShift, VkRShift, VkControl, VkMenu, VkBack, 0x0D, 0x2E,
        0x60, 0x61, 0xBC, 0xBE, 0xDB, 0xDD, 0xDE, 0x39, 0x30, 0x00, 0xFF};
    switch (in.Below(4)) {
    case 0:
        return interesting[in.Below(std::size(interesting))];
    case 1:
        return "SIGXA1"[in.Below(6)];
    case 2:
        return in.Byte();
    default:
        return static_cast<int>(in.Word()) - 0x100; // also outside 0..255
    }
}

struct Rig {
    EngineRig rig;
    Rig()
    {
        SetMessageBoxes(&rig.boxes);
        rig.AddReply("Sig", RichEditRtf("Best regards"), "sig");
        rig.AddReply("Params", RichEditRtf("Dear First Last"), "sig(First,Last)");
        rig.AddReply("A", RichEditRtf("a"), "a");
        rig.AddReply("Empty", RichEditRtf("x"), "x()");
        rig.AddReply("Bracket", RichEditRtf("b"), "(");
        rig.dialogEnabled = false;
    }
    ~Rig() { SetMessageBoxes(nullptr); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    Rig r;
    EngineRig& rig = r.rig;
    // Characters typed into the target since the last reset the engine saw.
    size_t typedSinceReset = 0;
    bool armed = true;

    while (!in.Empty()) {
        const unsigned op = in.Below(8);
        if (op == 0) {
            rig.engine.MouseClick();
            typedSinceReset = 0;
        } else if (op == 1) {
            armed = !armed;
            rig.engine.SetAppInactive(armed);
        } else if (op == 2) {
            // The echoes hold a Backspace or a Control release, which reset.
            if (armed && !rig.desktop.echoed.empty())
                typedSinceReset = 0;
            const int before = rig.desktop.PressesOf(VkBack);
            rig.HandleEchoes();
            Check(rig.desktop.PressesOf(VkBack) == before, "an echoed key sent Backspaces");
        } else if (op == 3) {
            rig.desktop.keys[in.Byte()] = in.Byte() & 1;
            rig.engine.TimerTick();
        } else {
            const int vk = PickKey(in);
            const bool pressed = op != 4;
            const int before = rig.desktop.PressesOf(VkBack);
            rig.engine.KeyAction(vk, pressed);
            const int sent = rig.desktop.PressesOf(VkBack) - before;
            Check(sent == 0 || static_cast<size_t>(sent) <= typedSinceReset + 1,
                "more Backspaces than characters typed since the last reset");
            if (!armed)
                continue;
            if (!pressed) {
                if (vk == VkControl || vk == VkMenu)
                    typedSinceReset = 0;
            } else if (vk == VkSpace) {
                typedSinceReset = 0;
            } else if (KeyCharacter(vk, false) != 0) {
                ++typedSinceReset;
            } else if (!IsModifierKey(vk) && vk >= 1 && vk <= 255) {
                typedSinceReset = 0;
            }
        }
    }
    return 0;
}
