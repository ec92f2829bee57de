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

TEST_F(ChordTest, HotKeyDeliversOnTheFirstTickAfterTheKeyIsReleased)
{
    rig.SelectNode(greet->Node);
    Hold({VkControl, VkMenu, 'K'});
    rig.engine.TimerTick();
    EXPECT_EQ(rig.engine.PendingHotKey(), rig.library.FindHotKey("0K"));
    rig.engine.TimerTick();
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), ""); // K still down
    Hold({'K'}, false);
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
    Hold({'G'}, false);
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
    Hold({'G'}, false);
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Dear Name,\r\n");
}

TEST_F(ChordTest, CtrlShiftVInsertsTheSelectedReplyOnTheNextTick)
{
    rig.SelectNode(thanks->Node);
    Hold({VkControl, VkShift, 'V'});
    rig.engine.TimerTick();
    EXPECT_TRUE(rig.engine.PendingInsert());
    EXPECT_EQ(rig.MailText(), "");
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "Thank you on Monday!\r\n");
    EXPECT_FALSE(rig.engine.PendingInsert());
    // With Alt down it is no chord of the program's.
    Hold({VkMenu});
    rig.engine.TimerTick();
    EXPECT_FALSE(rig.engine.PendingInsert());
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
    // Without shell notifications, the window in front at a tick counts.
    rig.dialogVisible = false;
    rig.desktop.foreground = 0x6006;
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
    // The reply filled in goes into the editor once, and the stored one back.
    EXPECT_EQ(rig.editor.loads - loadsBefore, 2);
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
