// Every registry value the program reads, of any kind and size: the readers
// never fail, a boolean setting is true only for exactly 1, and a stored
// geometry is applied only within the screen, with panels inside the window.
#include "fakes/FakeModeWindow.h"
#include "fakes/FakeRegistry.h"
#include "fuzz/FuzzInput.h"
#include "shell/UnitGeometryRecords.h"
#include "shell/UnitMainWindowModes.h"
#include "shell/UnitSettings.h"

#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::fuzz;

namespace {

// The fake window's screen.
constexpr TWindowSize kScreen{1920, 1080};

using ModeWindow = fakes::FakeModeWindow;

RegValue FuzzedValue(FuzzInput& in)
{
    RegValue v;
    v.kind = static_cast<RegKind>(in.Below(4));
    // Mostly the sizes the readers expect, sometimes anything.
    static constexpr unsigned sizes[] = {0, 1, 2, 3, 4, 5, 13, 14, 15};
    const unsigned n = in.Below(4) == 0 ? in.Below(40) : sizes[in.Below(std::size(sizes))];
    for (unsigned i = 0; i < n; ++i)
        v.data.push_back(in.Byte());
    return v;
}

// The panels are shown, and so checked, in Full mode only.
void CheckWindow(const ModeWindow& w, bool full, const char* when)
{
    const std::string detail = "min " + std::to_string(w.minWidth) + "x" + std::to_string(w.minHeight) + " size "
        + std::to_string(w.width) + "x" + std::to_string(w.height) + " lower " + std::to_string(w.lower) + " chooseBy "
        + std::to_string(w.chooseBy) + " macros " + std::to_string(w.macros);
    Check(w.width > 0 && w.width <= kScreen.width && w.height > 0 && w.height <= kScreen.height, when, detail);
    Check(w.minWidth >= 0 && w.minHeight >= 0, when, detail);
    if (full)
        Check(w.chooseBy >= 0 && w.chooseBy <= w.width && w.macros >= 0 && w.macros <= w.width && w.lower >= 0, when,
            detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    test::FakeRegistry reg;
    if (in.Below(8) != 0)
        reg.AddKey(kProgramKey);
    static constexpr const char* names[] = {kShowTips, kShowMacroIns, kAlwaysOnTop, kEditMode, kMainFormSettings,
        kNavMainFormSettings, kMacroInsFormSettings};
    for (const char* name : names)
        if (in.Below(4) != 0)
            reg.Put(kProgramKey, name, FuzzedValue(in));
    if (in.Below(2) != 0)
        reg.Put(kRunKey, kAutorunValue, FuzzedValue(in));

    for (const char* name : names) {
        const std::int32_t n = SettingsReadInt(reg, RegRoot::CurrentUser, kProgramKey, name);
        Check(ReadProgramFlag(reg, name) == (n == 1), "a setting other than 1 read as on");
    }
    (void)AutorunEnabled(reg);

    TModeState state;
    ModeWindow window;
    LoadModeGeometry(state, window, reg);
    CheckWindow(window, state.mode == kModeFull, "a stored geometry gave a window outside the screen");
    // What is saved loads again as it was saved.
    (void)SaveModeGeometry(state, window, reg);
    ModeWindow again;
    TModeState state2;
    LoadModeGeometry(state2, again, reg);
    Check(state2.mode == state.mode && again.width == window.width && again.height == window.height,
        "a saved geometry did not load as saved");

    if (const auto stored = ReadGeometryValue(reg, kMacroInsFormSettings))
        if (const auto s = DecodeMacroInsFormSize(*stored))
            if (const auto usable = UsableWindowSize(*s, kScreen))
                Check(usable->width >= 1 && usable->width <= kScreen.width && usable->height >= 1
                        && usable->height <= kScreen.height,
                    "the dialog's stored size gave a window outside the screen");
    return 0;
}
