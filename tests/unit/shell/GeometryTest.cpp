#include "fakes/FakeModeWindow.h"
#include "fakes/FakeRegistry.h"
#include "shell/UnitGeometryRecords.h"
#include "shell/UnitMainWindowModes.h"
#include "shell/UnitSettings.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane {
namespace {

using test::Binary;
using test::Dword;
using test::FakeRegistry;

TEST(GeometryRecords, MainFormRecordByteForByte)
{
    const TMainFormGeometry g{450, 740, 800, -2, 0x1234, 260, 119};
    const TMainFormRecord r = EncodeMainFormGeometry(g);
    const TMainFormRecord expected{0xC2, 0x01, 0xE4, 0x02, 0x20, 0x03, 0xFE, 0xFF, 0x34, 0x12, 0x04, 0x01, 0x77, 0x00};
    EXPECT_EQ(r, expected);
    EXPECT_EQ(DecodeMainFormGeometry(Binary({r.begin(), r.end()})), g);
}

TEST(GeometryRecords, FieldsAreCutToSixteenBits)
{
    const TMainFormRecord r = EncodeMainFormGeometry({0x10001, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(r[0], 1);
    EXPECT_EQ(r[1], 0);
}

TEST(GeometryRecords, SizeRecordsHaveOppositeFieldOrders)
{
    const TSizeRecord nav = EncodeNavMainFormSize({300, 500});
    const TSizeRecord macroIns = EncodeMacroInsFormSize({300, 500});
    EXPECT_EQ(nav, (TSizeRecord{0x2C, 0x01, 0xF4, 0x01}));
    EXPECT_EQ(macroIns, (TSizeRecord{0xF4, 0x01, 0x2C, 0x01}));
    EXPECT_EQ(DecodeNavMainFormSize(Binary({nav.begin(), nav.end()})), (TWindowSize{300, 500}));
    EXPECT_EQ(DecodeMacroInsFormSize(Binary({macroIns.begin(), macroIns.end()})), (TWindowSize{300, 500}));
}

TEST(GeometryRecords, WrongKindOrSizeIsIgnored)
{
    EXPECT_FALSE(DecodeMainFormGeometry(Binary(std::vector<std::uint8_t>(13, 1))));
    EXPECT_FALSE(DecodeMainFormGeometry(Binary(std::vector<std::uint8_t>(15, 1))));
    EXPECT_FALSE(DecodeNavMainFormSize(Binary({1, 2, 3})));
    EXPECT_FALSE(DecodeNavMainFormSize(Dword(0x01000100)));
    EXPECT_FALSE(DecodeMacroInsFormSize(Binary({1, 2, 3, 4, 5})));
}

TEST(GeometryRecords, UnusableSizesAreRejectedOrKeptOnScreen)
{
    const TWindowSize screen{1920, 1080};
    EXPECT_FALSE(UsableWindowSize({0, 300}, screen));
    EXPECT_FALSE(UsableWindowSize({300, -5}, screen));
    EXPECT_EQ(UsableWindowSize({30000, 300}, screen), (TWindowSize{1920, 300}));
    EXPECT_EQ(UsableWindowSize({800, 600}, screen), (TWindowSize{800, 600}));
    EXPECT_EQ(UsableWindowSize({3000, 2000}, {0, 0}), (TWindowSize{3000, 2000}));

    EXPECT_FALSE(UsableMainFormGeometry({450, 740, 0, 497, 100, 260, 119}, screen));
    EXPECT_FALSE(UsableMainFormGeometry({-1, 740, 800, 497, 100, 260, 119}, screen));
    const auto g = UsableMainFormGeometry({32000, 32000, 32000, 32000, 32000, 32000, 32000}, screen);
    ASSERT_TRUE(g);
    EXPECT_EQ(*g, (TMainFormGeometry{1080, 1920, 1920, 1080, 1080, 1920, 1920}));
    const TMainFormGeometry normal{450, 740, 800, 600, 300, 260, 119};
    EXPECT_EQ(UsableMainFormGeometry(normal, screen), normal);
}

using fakes::FakeModeWindow;

void StoreFullGeometry(FakeRegistry& reg, const TMainFormGeometry& g)
{
    const auto record = EncodeMainFormGeometry(g);
    reg.Put(kProgramKey, kMainFormSettings, Binary({record.begin(), record.end()}));
}

TEST(Modes, FirstStartIsFullWithBuiltInSize)
{
    FakeRegistry reg;
    reg.AddKey(kProgramKey);
    FakeModeWindow w;
    TModeState state;
    state.mode = kModeCompact;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(state.mode, kModeFull);
    EXPECT_EQ(reg.Get(kProgramKey, kEditMode), Dword(1));
    EXPECT_EQ(w.caption, "Compact Mode");
    EXPECT_EQ(w.width, 740);
    EXPECT_EQ(w.height, 497);
    EXPECT_EQ(w.minWidth, 740);
    const std::vector<std::pair<ModePanel, bool>> shown = {{ModePanel::NavButtons, true}, {ModePanel::ChooseBy, true},
        {ModePanel::SplitterVert1, true}, {ModePanel::BottomRoot, true}, {ModePanel::SplitterHorz, true}};
    EXPECT_EQ(w.panelCalls, shown);
    EXPECT_EQ(w.toolbarRelayouts, 1);
}

TEST(Modes, ToggleToCompactAndBackAcrossARestart)
{
    FakeRegistry reg;
    reg.AddKey(kProgramKey);
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    w.width = 900; // the user resized the full window
    w.height = 600;

    EXPECT_TRUE(ToggleMode(state, w, reg));
    EXPECT_EQ(state.mode, kModeCompact);
    EXPECT_EQ(reg.Get(kProgramKey, kEditMode), Dword(0));
    EXPECT_EQ(w.caption, "Full Mode");
    EXPECT_EQ(w.minWidth, 140);
    EXPECT_EQ(w.minHeight, 140);
    EXPECT_EQ(w.width, 400); // the tree's size
    EXPECT_EQ(w.height, 230);
    EXPECT_EQ(w.panelCalls.back(), std::make_pair(ModePanel::SplitterHorz, false));
    const auto full = DecodeMainFormGeometry(*reg.Get(kProgramKey, kMainFormSettings));
    ASSERT_TRUE(full);
    EXPECT_EQ(*full, (TMainFormGeometry{450, 740, 900, 600, 600 - 50 - 215 - 3, 260, 119}));

    // Program end in compact mode, then a restart.
    w.width = 320;
    EXPECT_TRUE(SaveModeGeometry(state, w, reg));
    FakeModeWindow restarted;
    TModeState again;
    LoadModeGeometry(again, restarted, reg);
    EXPECT_EQ(again.mode, kModeCompact);
    EXPECT_EQ(restarted.width, 320);
    EXPECT_EQ(restarted.height, 230);

    EXPECT_TRUE(ToggleMode(again, restarted, reg));
    EXPECT_EQ(again.mode, kModeFull);
    EXPECT_EQ(reg.Get(kProgramKey, kEditMode), Dword(1));
    EXPECT_EQ(restarted.width, 900);
    EXPECT_EQ(restarted.height, 600);
    EXPECT_EQ(restarted.lower, 215);
    EXPECT_EQ(DecodeNavMainFormSize(*reg.Get(kProgramKey, kNavMainFormSettings)), (TWindowSize{320, 230}));
}

TEST(Modes, EditModeTwoMeansCompactAndNextToggleWritesOne)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, kEditMode, Dword(2));
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(state.mode, kModeCompact);
    EXPECT_TRUE(ToggleMode(state, w, reg));
    EXPECT_EQ(reg.Get(kProgramKey, kEditMode), Dword(1));
}

TEST(Modes, StoredGeometryOfWrongSizeOrUnusableIsNotApplied)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, kMainFormSettings, Binary({1, 2, 3}));
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(w.width, 740);
    EXPECT_EQ(w.height, 497);

    StoreFullGeometry(reg, {450, 740, 0, 0, 100, 260, 119});
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(w.width, 740);

    reg.Put(kProgramKey, kEditMode, Dword(0));
    for (const auto& record : {std::vector<std::uint8_t>{0, 0, 0, 0}, {160, 0, 28, 0}}) { // zero, minimised
        reg.Put(kProgramKey, kNavMainFormSettings, Binary(record));
        LoadModeGeometry(state, w, reg);
        EXPECT_EQ(w.width, w.treeWidth);
        EXPECT_EQ(w.height, w.treeHeight);
    }
}

TEST(Modes, FullGeometryAppliesLowerPanelFromTheStoredUpperPanel)
{
    FakeRegistry reg;
    StoreFullGeometry(reg, {500, 800, 1000, 700, 400, 300, 100});
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(w.minHeight, 500);
    EXPECT_EQ(w.minWidth, 800);
    EXPECT_EQ(w.width, 1000);
    EXPECT_EQ(w.height, 700);
    EXPECT_EQ(w.lower, 700 - 50 - 400 - 3);
    EXPECT_EQ(w.ClientHeight() - w.lower - kSplitterThickness, 400);
    EXPECT_EQ(w.chooseBy, 300);
    EXPECT_EQ(w.macros, 100);
}

TEST(Modes, ExitWhileMinimisedOrMaximisedStoresTheRestoredGeometry)
{
    FakeRegistry reg;
    reg.AddKey(kProgramKey);
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    // Maximised: the restored size, with the upper panel it has in that size.
    w.width = 1280;
    w.height = 1024;
    w.restored = {900, 600};
    EXPECT_TRUE(SaveModeGeometry(state, w, reg));
    const auto good = reg.Get(kProgramKey, kMainFormSettings);
    ASSERT_TRUE(good);
    EXPECT_EQ(DecodeMainFormGeometry(*good), (TMainFormGeometry{450, 740, 900, 600, 600 - 50 - 215 - 3, 260, 119}));

    // Minimised, as a platform that reports the minimised size would have it:
    // nothing is stored and the next start opens at the last good size.
    w.restored = {160, 28};
    EXPECT_TRUE(SaveModeGeometry(state, w, reg));
    EXPECT_EQ(reg.Get(kProgramKey, kMainFormSettings), good);
    FakeModeWindow restarted;
    LoadModeGeometry(state, restarted, reg);
    EXPECT_EQ(restarted.width, 900);
    EXPECT_EQ(restarted.height, 600);
}

TEST(Modes, AStoredMinimisedRecordIsNotUsedOnLoad)
{
    FakeRegistry reg;
    StoreFullGeometry(reg, {450, 740, 160, 28, 0, 260, 119});
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(w.width, 740);
    EXPECT_EQ(w.height, 497);
    EXPECT_TRUE(w.centredAt.empty()) << "the built-in window stays where it was made";
}

TEST(Modes, AStoredSizeIsCentredOnTheScreenAtItsActualSize)
{
    FakeRegistry reg;
    StoreFullGeometry(reg, {500, 800, 1000, 700, 400, 300, 100});
    reg.Put(kProgramKey, kNavMainFormSettings, Binary({44, 1, 200, 0})); // 300 x 200
    FakeModeWindow w;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(w.centredAt, (std::vector<TWindowSize>{{1000, 700}}));
    EXPECT_TRUE(ToggleMode(state, w, reg));
    EXPECT_EQ(w.centredAt.back(), (TWindowSize{300, 200}));

    EXPECT_EQ(CentredOrigin({0, 0, 1920, 1040}, 1000, 700), (WindowOrigin{460, 170}));
    EXPECT_EQ(CentredOrigin({-1280, 40, 1280, 984}, 300, 200), (WindowOrigin{-1280 + 490, 40 + 392}))
        << "a work area left of the primary screen and below a top task bar";
    EXPECT_EQ(CentredOrigin({0, 0, 800, 600}, 1000, 700), (WindowOrigin{0, 0})) << "larger than the screen";
}

TEST(Modes, GeometryTakenAtOneDpiReopensAtTheSameSizeOnAnother)
{
    // A record of an earlier version has no DPI beside it: it was taken at 96.
    FakeRegistry reg;
    StoreFullGeometry(reg, {500, 800, 1000, 700, 400, 300, 100});
    FakeModeWindow w;
    w.dpi = 144;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ((TMainFormGeometry{
                  w.minHeight, w.minWidth, w.width, w.height, w.ClientHeight() - w.lower - 5, w.chooseBy, w.macros}),
        (TMainFormGeometry{750, 1200, 1500, 1050, 600, 450, 150}));

    // Stored at 144 with its DPI, it comes back unchanged there and two
    // thirds as large at 96.
    ASSERT_TRUE(SaveModeGeometry(state, w, reg));
    EXPECT_EQ(reg.Get(kProgramKey, kMainFormDpi), Dword(144));
    FakeModeWindow again;
    again.dpi = 144;
    LoadModeGeometry(state, again, reg);
    EXPECT_EQ(again.width, 1500);
    EXPECT_EQ(again.height, 1050);
    FakeModeWindow small;
    LoadModeGeometry(state, small, reg);
    EXPECT_EQ(small.width, 1000);
    EXPECT_EQ(small.height, 700);
    EXPECT_EQ(small.chooseBy, 300);

    // A DPI no display has is not believed.
    reg.Put(kProgramKey, kMainFormDpi, Dword(0));
    FakeModeWindow unbelieved;
    unbelieved.dpi = 144;
    LoadModeGeometry(state, unbelieved, reg);
    EXPECT_EQ(unbelieved.chooseBy, 675) << "taken as 96 DPI";
}

TEST(Modes, CompactSizeIsConvertedByItsOwnStoredDpi)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, kEditMode, Dword(kModeCompact));
    const auto record = EncodeNavMainFormSize({600, 400});
    reg.Put(kProgramKey, kNavMainFormSettings, Binary({record.begin(), record.end()}));
    reg.Put(kProgramKey, kNavMainFormDpi, Dword(192));
    reg.Put(kProgramKey, kMainFormDpi, Dword(96)); // the other record's
    FakeModeWindow w;
    w.dpi = 144;
    TModeState state;
    LoadModeGeometry(state, w, reg);
    EXPECT_EQ(w.width, 450);
    EXPECT_EQ(w.height, 300);
    EXPECT_EQ(w.minWidth, 210) << "the compact minimum scales too";
}

TEST(Splitters, WideningListsRaisesMinimumWidthAndNarrowingFallsBackTo740)
{
    FakeModeWindow w;
    TModeState state;
    RecordListRatio(state, w); // 119 / 260
    w.chooseBy = 700;
    SplitterVert1Moved(state, w);
    EXPECT_EQ(w.minWidth, 850);
    EXPECT_EQ(w.macros, 320); // 700 * 119 / 260 = 320.38

    RecordListRatio(state, w);
    w.chooseBy = 300;
    SplitterVert1Moved(state, w);
    EXPECT_EQ(w.minWidth, 740);
    EXPECT_EQ(w.macros, 137); // 300 * 320 / 700 = 137.14
}

TEST(Splitters, MacroColumnRoundsTiesToEven)
{
    EXPECT_EQ(MacrosListWidthFor(5, 0.5), 2);
    EXPECT_EQ(MacrosListWidthFor(7, 0.5), 4);
    EXPECT_EQ(ListRatio(10, 0), 0.0);
}

TEST(Splitters, HorizontalSplitterSetsMinimumHeight)
{
    FakeModeWindow w;
    w.lower = 300;
    SplitterHorzMoved(w);
    EXPECT_EQ(w.minHeight, 300 + 50 + 114 + 3);
}

} // namespace
} // namespace corvane
