// The user's clipboard across the paste routes: given back once the target
// has read the reply, never over something copied meanwhile.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

constexpr std::uint32_t PrivateFormat = 0xC0DE;
constexpr WindowId SlowTarget = 0x5005; // reads the clipboard only when told

class ClipboardKeepingTest : public ::testing::Test {
protected:
    ClipboardKeepingTest()
    {
        thanks = rig.AddReply("Thanks", RichEditRtf("Thank you!"), "thx", "0K");
        rig.clipboard.Copy("mine", {{PrivateFormat, std::string("\x01\x00\x02", 3)}});
    }
    // Ticks of the window's timer until `ms` have passed; whether ticks are still wanted.
    bool TickFor(int ms)
    {
        bool wanted = true;
        for (int t = 0; t < ms; t += 50) {
            rig.clock.milliseconds += 50;
            wanted = rig.engine.ClipboardTick();
        }
        return wanted;
    }
    bool HoldsWhatTheUserCopied() const
    {
        const auto& c = rig.clipboard;
        return c.text == "mine" && c.rtf.empty() && c.others.size() == 1 && c.others[0].format == PrivateFormat
            && c.others[0].bytes == std::string("\x01\x00\x02", 3);
    }
    void DeliverByHotKey()
    {
        EXPECT_TRUE(rig.engine.TakesChordKey('K', true, {true, true, false}));
        rig.engine.TimerTick();
    }
    EngineRig rig;
    TRep* thanks;
};

TEST_F(ClipboardKeepingTest, RepliesInQuickSuccessionAllArriveAndTheUserClipboardComesBackWhole)
{
    for (int i = 0; i < 5; ++i) {
        rig.Type("thx ");
        DeliverByHotKey();
    }
    std::string all;
    for (int i = 0; i < 10; ++i)
        all += "Thank you!\r\n";
    EXPECT_EQ(rig.MailText(), all);
    // Every reply went out marked for the clipboard history to skip.
    EXPECT_TRUE(rig.clipboard.outOfHistory);
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    EXPECT_TRUE(TickFor(ClipboardQuietMs - 50)); // still within the quiet time
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    EXPECT_FALSE(TickFor(50));
    EXPECT_TRUE(HoldsWhatTheUserCopied());
    EXPECT_EQ(rig.clipboard.restores, 1);
    EXPECT_TRUE(rig.clipboard.outOfHistory);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST_F(ClipboardKeepingTest, ALateReaderGetsTheReplyAndEachReadRestartsTheWait)
{
    rig.desktop.foreground = SlowTarget; // takes Ctrl+V without reading yet
    DeliverByHotKey();
    TickFor(ClipboardCeilingMs / 2);
    EXPECT_EQ(rig.clipboard.ReadText(), "Thank you!\r\n");
    TickFor(ClipboardQuietMs - 50);
    EXPECT_EQ(rig.clipboard.ReadText(), "Thank you!\r\n"); // a second read of a format already rendered
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    TickFor(50);
    EXPECT_TRUE(HoldsWhatTheUserCopied());

    // A target that never reads: the clipboard comes back at the ceiling.
    DeliverByHotKey();
    TickFor(ClipboardCeilingMs - 50);
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    TickFor(50);
    EXPECT_TRUE(HoldsWhatTheUserCopied());
}

TEST_F(ClipboardKeepingTest, SomethingCopiedAfterTheDeliveryStays)
{
    rig.Type("thx ");
    rig.clock.milliseconds += 50;
    rig.clipboard.Copy("copied after");
    EXPECT_FALSE(TickFor(ClipboardCeilingMs + 100));
    EXPECT_EQ(rig.clipboard.text, "copied after");
    EXPECT_EQ(rig.clipboard.restores, 0);

    // The same when the copy comes from this program itself: the owner is
    // the same, the sequence number is not.
    rig.Type("thx ");
    rig.clipboard.Copy("own copy");
    rig.clipboard.ownedHere = true;
    TickFor(ClipboardCeilingMs + 100);
    EXPECT_EQ(rig.clipboard.text, "own copy");

    // And a reply that follows that copy gives the copy back, not the first clipboard.
    rig.Type("thx ");
    TickFor(ClipboardQuietMs);
    EXPECT_EQ(rig.clipboard.text, "own copy");
}

TEST_F(ClipboardKeepingTest, CopyEntireAndTheOptionOffLeaveTheReply)
{
    rig.SelectNode(thanks->Node);
    rig.engine.CopyEntireReply({TDialogPlace::ScreenCentre});
    EXPECT_FALSE(TickFor(ClipboardCeilingMs + 100));
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    EXPECT_FALSE(rig.clipboard.outOfHistory);

    rig.keepClipboard = false;
    rig.clipboard.Copy("mine");
    rig.Type("thx ");
    EXPECT_FALSE(TickFor(ClipboardCeilingMs + 100));
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    EXPECT_FALSE(rig.clipboard.outOfHistory);
    EXPECT_EQ(rig.clipboard.restores, 0);
}

TEST_F(ClipboardKeepingTest, AReplyThatWasNotPastedStaysOnTheClipboard)
{
    rig.SelectNode(thanks->Node);
    rig.engine.WindowActivated(MailWindow);
    rig.desktop.CloseWindow(MailWindow);
    rig.engine.PasteIntoLastActive({TDialogPlace::ScreenCentre});
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, TargetGoneText);
    TickFor(ClipboardCeilingMs + 100);
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
}

TEST_F(ClipboardKeepingTest, AClipboardTooLargeToKeepIsToldOnceAndTheRepliesStillArrive)
{
    rig.clipboard.saveOutcome = TSavedClipboard::Outcome::OverBound;
    rig.Type("thx ");
    EXPECT_TRUE(rig.boxes.shown.empty()); // not in the middle of the paste
    EXPECT_FALSE(TickFor(50));
    rig.Type("thx ");
    TickFor(ClipboardCeilingMs + 100);
    EXPECT_EQ(rig.MailText(), "Thank you!\r\nThank you!\r\n");
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, ClipboardNotKeptText);
}

TEST_F(ClipboardKeepingTest, AHeldClipboardIsGivenBackAtALaterTickAndAtExit)
{
    rig.Type("thx ");
    rig.clipboard.heldByAnotherProgram = true;
    EXPECT_TRUE(TickFor(ClipboardQuietMs + 100));
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    rig.clipboard.heldByAnotherProgram = false;
    TickFor(50);
    EXPECT_TRUE(HoldsWhatTheUserCopied());

    rig.desktop.foreground = SlowTarget;
    DeliverByHotKey();
    rig.engine.FinishClipboard();
    EXPECT_TRUE(HoldsWhatTheUserCopied());
}

} // namespace
} // namespace corvane::testing
