// Chords polled across timer ticks, and the routes that start in the program.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

class ChordTest : public ::testing::Test {
protected:
    ChordTest()
    {
        thanks = rig.AddReply("Thanks", RichEditRtf("Thank you on %Day!"), "thx", "0K");
        greet = rig.AddReply("Greet", RichEditRtf("Dear Name,"), "greet(Name)", "1G");
        rig.dialogValues = "Jane";
    }
    void Hold(std::initializer_list<int> keys, bool down = true)
    {
        for (int k : keys)
            rig.desktop.keys[static_cast<size_t>(k)] = down;
    }
    EngineRig rig;
    TRep* thanks;
    TRep* greet;
};

TEST_F(ChordTest, HotKeyDeliversOnTheFirstTickAfterTheKeyAndTheModifiersAreReleased)
{
    rig.SelectNode(greet->Node);
    Hold({VkControl, VkMenu, 'K'});
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.PendingHotKey(), rig.library.FindHotKey("0K"));
    rig.engine.TimerTick();
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), ""); // K still down
    // The key let go first: a paste now would reach the target as Ctrl+Alt+V.
    Hold({'K'}, false);
    rig.engine.TimerTick();
    Hold({VkControl}, false);
    rig.engine.TimerTick();
    EXPECT_TRUE(rig.desktop.sent.empty());
    Hold({VkMenu}, false);
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");
    EXPECT_EQ(rig.desktop.pausedMs, DeliveryPauseMs);
    EXPECT_EQ(rig.engine.PendingHotKey(), -1);
    EXPECT_EQ(rig.tree.Selected(), greet->Node);
}

TEST_F(ChordTest, ShiftFlagMustMatchAndAltMustBeDown)
{
    Hold({VkControl, VkMenu, VkShift, 'K'});
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.PendingHotKey(), -1);
    Hold({VkMenu}, false);
    Hold({'K'}, false);
    Hold({'G'});
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.PendingHotKey(), -1);
}

TEST_F(ChordTest, PendingHotKeyWhoseEntryChangedDeliversNothing)
{
    Hold({VkControl, VkMenu, 'K'});
    rig.engine.TimerTick();
    Hold({VkControl, VkMenu, 'K'}, false);
    // Meanwhile the program was active and the hot key was moved to another reply.
    ASSERT_TRUE(rig.library.SetHotKey(thanks, ""));
    ASSERT_TRUE(rig.library.SetHotKey(greet, "0K"));
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.PendingHotKey(), -1);
    EXPECT_TRUE(rig.desktop.sent.empty());
    EXPECT_TRUE(rig.askedLists.empty());
}

TEST_F(ChordTest, HotKeyWithParametersAsksThenPastesIntoLastActiveWindow)
{
    rig.Activate(MailWindow);
    rig.desktop.foreground = OwnWindow; // the dialog had the foreground
    Hold({VkControl, VkMenu, VkShift, 'G'});
    rig.engine.TimerTick();
    Hold({VkControl, VkMenu, VkShift, 'G'}, false);
    rig.engine.TimerTick();
    ASSERT_EQ(rig.askedLists, std::vector<std::string>{"Name"});
    EXPECT_EQ(rig.askedPlaces[0].kind, TDialogPlace::ScreenCentre);
    EXPECT_EQ(rig.desktop.foreground, MailWindow);
    EXPECT_EQ(rig.MailText(), "Dear Jane,\r\n");
    EXPECT_EQ(rig.desktop.pausedMs, 0);
}

TEST_F(ChordTest, CancelledDialogCopiesNothing)
{
    rig.dialogAccepts = false;
    rig.clipboard.text = "before";
    Hold({VkControl, VkMenu, VkShift, 'G'});
    rig.engine.TimerTick();
    Hold({VkControl, VkMenu, VkShift, 'G'}, false);
    rig.engine.TimerTick();
    EXPECT_EQ(rig.clipboard.copies, 0);
    EXPECT_EQ(rig.clipboard.text, "before");
    EXPECT_TRUE(rig.desktop.sent.empty());
    EXPECT_EQ(rig.engine.PendingHotKey(), -1);
}

TEST_F(ChordTest, DisabledDialogLeavesParameterNamesAsTyped)
{
    rig.dialogEnabled = false;
    Hold({VkControl, VkMenu, VkShift, 'G'});
    rig.engine.TimerTick();
    Hold({VkControl, VkMenu, VkShift, 'G'}, false);
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Dear Name,\r\n");
}

TEST_F(ChordTest, CtrlShiftVInsertsTheSelectedReplyOnTheNextTick)
{
    rig.SelectNode(thanks->Node);
    Hold({VkControl, VkShift, 'V'});
    rig.engine.TimerTick();
    EXPECT_TRUE(rig.engine.PendingInsert());
    rig.engine.TimerTick();
    Hold({'V'}, false);
    rig.engine.TimerTick();
    EXPECT_TRUE(rig.desktop.sent.empty()); // Ctrl+Shift still down: the paste would arrive as Ctrl+Shift+V
    Hold({VkControl, VkShift}, false);
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");
    EXPECT_FALSE(rig.engine.PendingInsert());
    // With Alt down it is no chord of the program's.
    Hold({VkControl, VkShift, 'V', VkMenu});
    rig.engine.TimerTick();
    EXPECT_FALSE(rig.engine.PendingInsert());
}

TEST_F(ChordTest, TheKeyPressOfAChordIsTakenFromTheTargetAndCarriedOutEvenWhenTooShortForThePoll)
{
    // The desktop's key state has not caught up with the target's: the
    // chord is read from the modifiers the target saw.
    rig.SelectNode(thanks->Node);
    const TModifiers ctrlShift{true, false, true}, ctrlAlt{true, true, false}, ctrlAltShift{true, true, true};
    EXPECT_FALSE(rig.engine.TakesChordKey(VkShift, true, ctrlShift));
    EXPECT_FALSE(rig.engine.TakesChordKey('X', true, ctrlShift));
    EXPECT_TRUE(rig.engine.TakesChordKey('V', true, ctrlShift));
    EXPECT_TRUE(rig.engine.TakesChordKey('V', true, ctrlShift)); // auto-repeat
    EXPECT_FALSE(rig.engine.TakesChordKey('V', false, ctrlShift));
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");

    EXPECT_TRUE(rig.engine.TakesChordKey('K', true, ctrlAlt));
    EXPECT_FALSE(rig.engine.TakesChordKey('G', true, ctrlAlt)); // Ctrl+Alt+Shift+G is assigned, not Ctrl+Alt+G
    EXPECT_FALSE(rig.engine.TakesChordKey('J', true, ctrlAlt));
    EXPECT_TRUE(rig.engine.TakesChordKey('G', true, ctrlAltShift));
    EXPECT_FALSE(rig.engine.TakesChordKey('V', true, ctrlAltShift));
    // While the program itself is active its own keys are its own.
    rig.engine.SetAppInactive(false);
    EXPECT_FALSE(rig.engine.TakesChordKey('G', true, ctrlAltShift));
}

TEST_F(ChordTest, TheHookLibraryIsAnsweredAtOnceWhetherTheChordsKeyIsTaken)
{
    rig.SelectNode(thanks->Node);
    const TModifiers ctrlShift{true, false, true};
    EXPECT_EQ(rig.Key(VkShift, true, 0x2A, ctrlShift), 0);
    EXPECT_EQ(rig.Key('V', true, 0x2F, ctrlShift), 1);
    EXPECT_EQ(rig.Key('V', false, 0x2F, ctrlShift), 0);
    EXPECT_EQ(rig.hookHost.events, (std::vector<std::string>{"reply 0", "reply 1", "reply 0"}));
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");
}

TEST_F(ChordTest, ProgramsRunAsAdministratorAreToldOfOnceAndKeepTheReplyOnTheClipboard)
{
    rig.desktop.elevated[MailWindow] = "regedit.exe";
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(rig.engine.TakesChordKey('K', true, {true, true, false}));
        rig.engine.TimerTick();
    }
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    EXPECT_EQ(rig.clipboard.text, "Thank you on Monday!\r\n");
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(
        rig.boxes.shown[0].text, "Corvane cannot type into a program that runs as administrator: \"regedit.exe\".");
    // Another such program is told of too; an ordinary one gets the paste.
    rig.desktop.elevated[rig.desktop.OpenWindow(0x3003)] = "mmc.exe";
    (void)rig.engine.TakesChordKey('K', true, {true, true, false});
    rig.engine.TimerTick();
    EXPECT_EQ(rig.boxes.shown.size(), 2u);
    rig.desktop.OpenWindow(0x4004);
    (void)rig.engine.TakesChordKey('K', true, {true, true, false});
    rig.engine.TimerTick();
    EXPECT_EQ(rig.desktop.TextOf(0x4004), "Thank you on Monday!\r\n");
}

TEST_F(ChordTest, CtrlShiftQShowsTheWindowOnlyWhileAnotherProgramIsActive)
{
    Hold({VkControl, VkShift, 'Q'});
    rig.engine.TimerTick();
    Hold({VkControl, VkShift, 'Q'}, false);
    rig.engine.TimerTick();
    EXPECT_EQ(rig.shownFrom, std::vector<WindowId>{MailWindow});
    rig.engine.SetAppInactive(false);
    Hold({VkControl, VkShift, 'Q'});
    rig.engine.TimerTick();
    rig.engine.TimerTick();
    EXPECT_EQ(rig.shownFrom.size(), 1u);
}

TEST_F(ChordTest, LastActiveWindowFollowsActivationsOfOtherWindows)
{
    rig.Activate(MailWindow);
    rig.Activate(OwnWindow);
    rig.dialogVisible = true;
    rig.Activate(0x4004);
    EXPECT_EQ(rig.engine.LastActiveWindow(), MailWindow);
    // Windows the program's own ending destroys are no news.
    rig.terminating = true;
    rig.Destroyed(MailWindow);
    EXPECT_EQ(rig.engine.LastActiveWindow(), MailWindow);
    rig.terminating = false;
    rig.Destroyed(MailWindow);
    EXPECT_EQ(rig.engine.LastActiveWindow(), 0u);
    EXPECT_EQ(rig.dialogCancels, 1);
}

TEST_F(ChordTest, LastActiveWindowIsTheRootOwnerAndNeverAShellToolOrOwnWindow)
{
    constexpr WindowId FindBox = 0x3003, Taskbar = 0x5005, Palette = 0x8008, OwnDialog = 0x9009;
    rig.desktop.facts[FindBox] = {MailWindow, "#32770"};
    rig.desktop.facts[Taskbar] = {Taskbar, "Shell_TrayWnd"};
    rig.desktop.facts[Palette] = {Palette, "Palette", true};
    rig.desktop.facts[OwnDialog] = {OwnDialog, "#32770", false, true};
    rig.engine.WindowActivated(FindBox);
    EXPECT_EQ(rig.engine.LastActiveWindow(), MailWindow);
    for (WindowId notATarget : {Taskbar, Palette, OwnDialog}) {
        rig.engine.WindowActivated(notATarget);
        EXPECT_EQ(rig.engine.LastActiveWindow(), MailWindow) << notATarget;
    }
    // Once the shell reports activations, the window in front at a tick (the
    // task switcher the user is still in) is not taken for one.
    rig.desktop.foreground = 0x7007;
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.LastActiveWindow(), MailWindow);
}

TEST_F(ChordTest, WithoutShellActivationsTheWindowInFrontAtATickIsTheLastActive)
{
    rig.desktop.foreground = 0x6006;
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.LastActiveWindow(), 0x6006u);
    rig.desktop.facts[0x5005] = {0x5005, "Shell_TrayWnd"};
    rig.desktop.foreground = 0x5005;
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.LastActiveWindow(), 0x6006u);
}

TEST_F(ChordTest, PasteIntoLastActiveWindowAndCopyEntire)
{
    rig.Activate(MailWindow);
    rig.SelectNode(thanks->Node);
    rig.desktop.foreground = OwnWindow;
    rig.engine.PasteIntoLastActive({});
    EXPECT_EQ(rig.desktop.foreground, MailWindow);
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");
    EXPECT_EQ(rig.commits, 1);

    rig.SelectNode(greet->Node);
    const int loadsBefore = rig.editor.loads;
    rig.engine.CopyEntireReply({TDialogPlace::AroundPoint, 10, 20});
    // The reply is filled in apart from the editor the user sees.
    EXPECT_EQ(rig.editor.loads, loadsBefore);
    EXPECT_EQ(rig.askedPlaces.back().kind, TDialogPlace::AroundPoint);
    EXPECT_NE(rig.clipboard.rtf.find("Dear Jane,"), std::string::npos);
    EXPECT_EQ(rig.editor.PlainText(), "Dear Name,\r\n"); // the stored text is back
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 1);
}

TEST_F(ChordTest, TargetGoneTellsTheUserAndPastesNothing)
{
    rig.Activate(0x5005); // closed since
    rig.SelectNode(thanks->Node);
    rig.engine.PasteIntoLastActive({});
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, TargetGoneText);
}

TEST_F(ChordTest, DropOnAnotherWindowClicksThenPastes)
{
    rig.SelectNode(thanks->Node);
    rig.engine.DropSelectedReply(300, 200, OwnWindow);
    EXPECT_EQ(rig.desktop.clicks, 0);
    rig.engine.DropSelectedReply(300, 200, MailWindow);
    EXPECT_EQ(rig.desktop.clicks, 1);
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");
}

} // namespace
} // namespace corvane::testing
