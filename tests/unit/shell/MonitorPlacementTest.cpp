// Two monitors at two scales: every window on the monitor it belongs to, at
// that monitor's scale and inside its work area; the stored panel split does
// not drift from start to start.
#include "engine/ReplyPicker.h"
#include "fakes/FakeModeWindow.h"
#include "fakes/FakeMonitors.h"
#include "fakes/FakeRegistry.h"
#include "shell/MonitorPlacement.h"
#include "shell/UnitMainWindowModes.h"
#include "shell/UnitSettings.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using fakes::FakeModeWindow;
using fakes::FakeMonitors;
using test::FakeRegistry;

// A dialog with a caption and a close box, as the program's dialogs are.
constexpr TFrameStyle kDialogStyle{0x80C80000u, 0x1u, false};

struct NamedDialog {
    const char* name;
    TWindowSize client96;
};
// Options, the tip of the day, About: their client areas at 100 %.
constexpr NamedDialog kDialogs[] = {{"Options", {367, 502}}, {"Tip", {432, 220}}, {"About", {380, 200}}};

TRect Owner(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

TEST(MonitorPlacement, ADialogTakesTheScaleAndFrameOfItsOwnersMonitor)
{
    const FakeMonitors desk = FakeMonitors::OfficeDesk();
    for (const NamedDialog& d : kDialogs) {
        SCOPED_TRACE(d.name);
        const TRect onPrimary
            = DialogRect(desk, {TPlacement::OverRect, Owner(200, 100, 740, 497)}, kDialogStyle, d.client96);
        const TRect onSecond
            = DialogRect(desk, {TPlacement::OverRect, Owner(2400, 100, 1110, 746)}, kDialogStyle, d.client96);
        const TFrame frame96 = desk.FrameAt(kDialogStyle, 96), frame144 = desk.FrameAt(kDialogStyle, 144);
        EXPECT_EQ(onPrimary.Width(), d.client96.width + frame96.Width());
        EXPECT_EQ(onPrimary.Height(), d.client96.height + frame96.Height());
        EXPECT_EQ(onSecond.Width(), ScaleToDpi(d.client96.width, 144) + frame144.Width());
        EXPECT_EQ(onSecond.Height(), ScaleToDpi(d.client96.height, 144) + frame144.Height());
        EXPECT_TRUE(desk.Primary().work.Holds(onPrimary));
        EXPECT_TRUE(desk.Second().work.Holds(onSecond));
    }
}

TEST(MonitorPlacement, EveryDialogOpensInsideItsOwnersMonitorWhereverTheOwnerIs)
{
    const FakeMonitors desk = FakeMonitors::OfficeDesk();
    struct OwnerCase {
        const char* where;
        TRect owner;
        int monitor; // index into the desk
    };
    const OwnerCase owners[] = {
        {"centre of the primary", Owner(590, 270, 740, 497), 0},
        {"primary, mostly, hanging over onto the second", Owner(1500, 600, 740, 497), 0},
        {"second, mostly, hanging back over the primary", Owner(1700, 0, 1110, 746), 1},
        {"second, by its left task bar", Owner(1990, 500, 700, 400), 1},
        {"second, bottom right, partly off the desk", Owner(4300, 1200, 1110, 746), 1},
        {"second, above the primary's top", Owner(2500, -190, 800, 300), 1},
        {"minimised far off, nearest the primary", Owner(-32000, -32000, 160, 28), 0},
    };
    for (const OwnerCase& o : owners) {
        for (const NamedDialog& d : kDialogs) {
            SCOPED_TRACE(std::string(o.where) + ": " + d.name);
            const TPlacement place{TPlacement::OverRect, o.owner};
            const TMonitor& expected = desk.monitors[static_cast<size_t>(o.monitor)];
            EXPECT_EQ(MonitorFor(desk, place), expected);
            const TRect r = DialogRect(desk, place, kDialogStyle, d.client96);
            EXPECT_TRUE(expected.work.Holds(r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
            EXPECT_EQ(r.Width(),
                ScaleToDpi(d.client96.width, expected.dpi) + desk.FrameAt(kDialogStyle, expected.dpi).Width());
        }
    }
    // Where there is room it is centred on its owner.
    const TRect owner = Owner(2400, 300, 1110, 746);
    const TRect r = DialogRect(desk, {TPlacement::OverRect, owner}, kDialogStyle, {380, 200});
    EXPECT_LE(std::abs((r.left + r.right) - (owner.left + owner.right)), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - (owner.top + owner.bottom)), 1);
}

TEST(MonitorPlacement, ADialogLargerThanTheWorkAreaIsCutToIt)
{
    FakeMonitors desk = FakeMonitors::OfficeDesk();
    desk.monitors[1].work = {1986, -200, 2786, 400}; // 800 x 600 left after docked bars
    const TRect r = DialogRect(desk, {TPlacement::OverRect, Owner(2000, 0, 600, 400)}, kDialogStyle, {367, 502});
    EXPECT_TRUE(desk.Second().work.Holds(r));
    EXPECT_EQ(r.Height(), 600) << "502 at 150 % and a caption do not fit in 600";
    EXPECT_EQ(r.Width(), ScaleToDpi(367, 144) + desk.FrameAt(kDialogStyle, 144).Width());
}

// Ten starts and exits on the 150 % monitor of a desk whose primary (the
// system's scale) is at 100 %: the stored split and the lower panel stay to
// the pixel. The frame is the one drawn at the window's own DPI; worked out
// at the system's, each exit would store the upper panel off by the frames'
// difference and the lower panel would creep at every start.
TEST(MonitorPlacement, TheStoredSplitDoesNotDriftAcrossTenStartsOnAMonitorOfAnotherScale)
{
    const FakeMonitors desk = FakeMonitors::OfficeDesk();
    FakeRegistry reg;
    reg.AddKey(kProgramKey);
    TModeState state;
    {
        FakeModeWindow first;
        first.monitors = &desk;
        first.dpi = desk.Second().dpi;
        LoadModeGeometry(state, first, reg);
        first.width = 1300;
        first.height = 1000;
        first.lower = 400; // the user dragged the splitter
        ASSERT_TRUE(SaveModeGeometry(state, first, reg));
    }
    const auto stored = reg.Get(kProgramKey, kMainFormSettings);
    ASSERT_TRUE(stored);
    for (int start = 1; start <= 10; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        FakeModeWindow w;
        w.monitors = &desk;
        w.dpi = desk.Second().dpi;
        LoadModeGeometry(state, w, reg);
        EXPECT_EQ(w.height, 1000);
        EXPECT_EQ(w.lower, 400);
        ASSERT_TRUE(SaveModeGeometry(state, w, reg));
        EXPECT_EQ(reg.Get(kProgramKey, kMainFormSettings), stored);
    }
}

TEST(MonitorPlacement, TheParametersDialogOpensOnTheCaretsMonitorAtItsScale)
{
    const FakeMonitors desk = FakeMonitors::OfficeDesk();
    // A macro typed on the second monitor: the dialog is centred there.
    const TPlacement place = PlacementForCaret(TRect{3000, 900, 3002, 918}, Owner(0, 0, 10, 10));
    const TMonitor monitor = MonitorFor(desk, place);
    EXPECT_EQ(monitor, desk.Second());
    const TRect r = PlaceOnMonitor(monitor, place, OuterSizeOn(desk, monitor, kDialogStyle, {392, 132}));
    EXPECT_TRUE(desk.Second().work.Holds(r));
    EXPECT_EQ(r.left + r.right, desk.Second().work.left + desk.Second().work.right);
    // No caret known: the monitor of the program's window.
    EXPECT_EQ(MonitorFor(desk, PlacementForCaret(std::nullopt, Owner(2000, 500, 600, 400))), desk.Second());
    EXPECT_EQ(MonitorFor(desk, PlacementForCaret(std::nullopt, Owner(100, 500, 600, 400))), desk.Primary());

    // Around a button near the second monitor's bottom-left corner: kept
    // inside that monitor, clear of its task bar.
    const TPlacement button{TPlacement::AroundPoint, {}, 2000, 1400};
    const TRect near = PlaceOnMonitor(MonitorFor(desk, button), button, {600, 300});
    EXPECT_EQ(near, (TRect{1986, 1120, 2586, 1420}));

    // On a single screen: centred, or around a point and kept on the screen.
    const TMonitor screen{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 96};
    EXPECT_EQ(
        PlaceOnMonitor(screen, {TPlacement::MonitorOfPoint, {}, 10, 10}, {401, 171}), (TRect{439, 426, 840, 597}));
    EXPECT_EQ(PlaceOnMonitor(screen, {TPlacement::AroundPoint, {}, 1270, -30}, {400, 170}), (TRect{880, 0, 1280, 170}));
    EXPECT_EQ(PlaceOnMonitor(screen, {TPlacement::AroundPoint, {}, 5, 1020}, {400, 170}), (TRect{0, 854, 400, 1024}));
}

TEST(MonitorPlacement, TheParametersDialogsStoredSizeKeepsItsDpiAndAScaledMinimum)
{
    const FakeMonitors desk = FakeMonitors::OfficeDesk();
    const TWindowSize minimum{200, 120};
    // Stored at 100 %, shown at 150 %: one and a half times as large.
    EXPECT_EQ(StoredSizeOn({400, 200}, 96, desk.Second(), minimum), (TWindowSize{600, 300}));
    // Stored at 150 %, shown at 100 %.
    EXPECT_EQ(StoredSizeOn({600, 300}, 144, desk.Primary(), minimum), (TWindowSize{400, 200}));
    // The minimum is a 100 % size: at 150 % it is 300 x 180, and a size
    // stored at the minimum at 100 % is not smaller there.
    EXPECT_EQ(StoredSizeOn({200, 120}, 96, desk.Second(), minimum), (TWindowSize{300, 180}));
    // 250 x 150 at 150 % is below the minimum there: no dialog had it.
    EXPECT_FALSE(StoredSizeOn({250, 150}, 144, desk.Primary(), minimum));
    // Larger than the monitor's work area: cut to it.
    EXPECT_EQ(StoredSizeOn({3000, 1500}, 96, desk.Primary(), minimum), (TWindowSize{1920, 1040}));
}

TEST(MonitorPlacement, ThePickerIsSizedAtTheCaretsMonitorAndStaysInsideIt)
{
    FakeMonitors desk = FakeMonitors::OfficeDesk();
    desk.monitors[1].dpi = 192;
    const TWindowSize client{620, 420};
    // A caret near the bottom right of the 200 % monitor, while the program's
    // own window is on the 100 % primary.
    const TRect caret{4700, 1350, 4702, 1380};
    const TPlacement place = PlacementForCaret(caret, Owner(100, 100, 740, 497));
    const TMonitor monitor = MonitorFor(desk, place);
    ASSERT_EQ(monitor.dpi, 192);
    const TWindowSize size = OuterSizeOn(desk, monitor, kDialogStyle, client);
    EXPECT_EQ(size.width, 1240 + desk.FrameAt(kDialogStyle, 192).Width());
    const TScreenPoint at = PlacePicker(TScreenRect{caret.left, caret.top, caret.right, caret.bottom},
        {monitor.work.left, monitor.work.top, monitor.work.right, monitor.work.bottom}, size.width, size.height);
    const TRect r{at.x, at.y, at.x + size.width, at.y + size.height};
    EXPECT_TRUE(monitor.work.Holds(r));
    EXPECT_EQ(r.bottom, caret.top - 2) << "above the caret's line: no room below it";
    // Sized at the owner's 100 % first, the same corner would leave it
    // hanging off when it grew to 200 % there.
    const TWindowSize atOwnersScale = OuterSizeOn(desk, desk.Primary(), kDialogStyle, client);
    const TScreenPoint early = PlacePicker(TScreenRect{caret.left, caret.top, caret.right, caret.bottom},
        {monitor.work.left, monitor.work.top, monitor.work.right, monitor.work.bottom}, atOwnersScale.width,
        atOwnersScale.height);
    EXPECT_FALSE(monitor.work.Holds({early.x, early.y, early.x + size.width, early.y + size.height}));
}

TEST(MonitorPlacement, TheEditorIsZoomedByTheWindowsScaleOverTheSystems)
{
    EXPECT_EQ(EditorZoom(144, 96), (TZoom{3, 2}));
    EXPECT_EQ(EditorZoom(96, 144), (TZoom{2, 3})) << "moved from the 150 % primary to a 100 % monitor";
    EXPECT_EQ(EditorZoom(120, 120), (TZoom{})) << "same scale: the zoom is switched off, not set to 1/1";
    EXPECT_EQ(EditorZoom(0, 96), (TZoom{}));
}

} // namespace
} // namespace corvane
