// The user's clipboard across the paste routes: given back once the target
// has read the reply, never over something copied meanwhile.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

#include "engine/ClipboardFormats.h"

namespace corvane::testing {
namespace {

using fakes::FakeTextFormat;

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

TEST_F(ClipboardKeepingTest, OnlyTheTargetsOwnReadsStartTheWaitAndEachOfThemRestartsIt)
{
    const std::uint32_t target = fakes::FakeDesktop::ProcessOf(SlowTarget);
    constexpr std::uint32_t Listener = 0x777; // a clipboard manager: reads every change at once
    rig.desktop.foreground = SlowTarget; // takes Ctrl+V without reading yet

    // The target reads the rich text late, then the plain text a little later.
    DeliverByHotKey();
    TickFor(ClipboardCeilingMs / 2);
    EXPECT_EQ(rig.clipboard.Read(fakes::FakeRtfFormat, target), RichEditRtf("Thank you!"));
    TickFor(ClipboardQuietMs - 50);
    EXPECT_EQ(rig.clipboard.Read(FakeTextFormat, target), "Thank you!\r\n");
    TickFor(ClipboardQuietMs - 50);
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n"); // the second read began the quiet time again
    TickFor(50);
    EXPECT_TRUE(HoldsWhatTheUserCopied());

    // The listener reads the plain text at once; the target, 500 ms after
    // Ctrl+V, the rich text: the listener's read did not start the wait.
    DeliverByHotKey();
    EXPECT_EQ(rig.clipboard.Read(FakeTextFormat, Listener), "Thank you!\r\n");
    TickFor(500);
    EXPECT_EQ(rig.clipboard.Read(fakes::FakeRtfFormat, target), RichEditRtf("Thank you!"));
    TickFor(ClipboardQuietMs - 50);
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    TickFor(50);
    EXPECT_TRUE(HoldsWhatTheUserCopied());

    // A format the listener had rendered first tells nothing when the target
    // reads it: the reply waits for the ceiling.
    DeliverByHotKey();
    (void)rig.clipboard.Read(FakeTextFormat, Listener);
    (void)rig.clipboard.Read(fakes::FakeRtfFormat, Listener);
    TickFor(500);
    EXPECT_EQ(rig.clipboard.Read(FakeTextFormat, target), "Thank you!\r\n");
    TickFor(ClipboardCeilingMs - 550);
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

TEST_F(ClipboardKeepingTest, AClipboardTooLargeToKeepIsToldEachTimeWithoutABoxAndTheRepliesStillArrive)
{
    for (int i = 0; i < 2; ++i) {
        rig.clipboard.Copy("big", {{PrivateFormat, std::string(ClipboardSaveLimits.maxBytes + 1, 'x')}});
        rig.Type("thx ");
        TickFor(ClipboardCeilingMs + 100);
    }
    EXPECT_EQ(rig.MailText(), "Thank you!\r\nThank you!\r\n");
    EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    EXPECT_EQ(rig.notices, (std::vector<std::string>{ClipboardNotKeptText, ClipboardNotKeptText}));
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST_F(ClipboardKeepingTest, APictureCountsOnceAgainstTheLimitAndComesBackWhole)
{
    // A screenshot copied as a device-independent bitmap: the system lists it
    // in three forms, which together would be over the limit.
    const std::string picture(ClipboardSaveLimits.maxBytes / 3 + 1, '\x7f');
    rig.clipboard.Copy("", {{cf::Dib, picture}});
    rig.Type("thx ");
    TickFor(ClipboardQuietMs);
    EXPECT_EQ(rig.clipboard.restores, 1);
    EXPECT_TRUE(rig.clipboard.Read(cf::Dib, 0x777) == picture);
    EXPECT_TRUE(rig.notices.empty());
    EXPECT_EQ(rig.MailText(), "Thank you!\r\n");
}

TEST_F(ClipboardKeepingTest, AClipboardHeldAMomentIsWaitedForAndOneHeldLongerIsToldEachTime)
{
    rig.clipboard.heldForMs = 150; // another program reads what was copied
    rig.Type("thx ");
    EXPECT_EQ(rig.clipboard.waitedMs, 150);
    TickFor(ClipboardQuietMs);
    EXPECT_TRUE(HoldsWhatTheUserCopied());
    EXPECT_TRUE(rig.notices.empty());

    // Held past the save's patience: the reply still goes, the user is told, each time.
    for (int i = 0; i < 2; ++i) {
        rig.clipboard.Copy("mine");
        rig.clipboard.heldForMs = ClipboardSaveLimits.busyWaitMs + 50;
        rig.Type("thx ");
        TickFor(ClipboardCeilingMs + 100);
        EXPECT_EQ(rig.clipboard.text, "Thank you!\r\n");
    }
    EXPECT_EQ(rig.MailText(), "Thank you!\r\nThank you!\r\nThank you!\r\n");
    EXPECT_EQ(rig.notices, (std::vector<std::string>{ClipboardHeldNotKeptText, ClipboardHeldNotKeptText}));
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST_F(ClipboardKeepingTest, ADataObjectComesBackItselfWithoutRenderingWhatNoPasteAskedFor)
{
    constexpr std::uint32_t Lazy = 0xC123; // offered only as a storage: rendered when a program asks for it
    const TClipboardFormats copied{{Lazy, "embedded workbook"}, {cf::Dib, "picture"}};
    rig.clipboard.Copy("mine", copied, true, {Lazy});
    rig.Type("thx ");
    // While the reply is out, the user's text is at hand for the reply's placeholders.
    EXPECT_EQ(rig.engine.KeptClipboardText(), std::u16string(u"mine"));
    EXPECT_EQ(rig.clipboard.renders.count(Lazy), 0u);
    TickFor(ClipboardQuietMs);
    EXPECT_TRUE(rig.clipboard.dataObject);
    ASSERT_EQ(rig.clipboard.others.size(), 2u);
    EXPECT_EQ(rig.clipboard.others[0].bytes, "embedded workbook");
    EXPECT_EQ(rig.clipboard.renders.count(Lazy), 0u);
    EXPECT_FALSE(rig.engine.KeptClipboardText().has_value());

    // The program of the object has ended meanwhile: what a plain paste
    // could read comes back as it was copied, the storage is gone with it.
    rig.clipboard.Copy("mine", copied, true, {Lazy});
    rig.Type("thx ");
    rig.clipboard.dataObjectSourceRuns = false;
    TickFor(ClipboardQuietMs);
    EXPECT_FALSE(rig.clipboard.dataObject);
    EXPECT_EQ(rig.clipboard.text, "mine");
    ASSERT_EQ(rig.clipboard.others.size(), 1u); // the picture, in its fullest form
    EXPECT_EQ(rig.clipboard.others[0].bytes, "picture");
    EXPECT_EQ(rig.clipboard.renders.count(Lazy), 0u);
}

TEST_F(ClipboardKeepingTest, AMacroTypedWhileTheClipboardIsSavedWaitsForTheFirstDelivery)
{
    rig.clipboard.whileSaving = [this] { rig.Type("thx "); };
    rig.Type("thx ");
    EXPECT_EQ(rig.MailText(), "Thank you!\r\nThank you!\r\n");
    EXPECT_EQ(rig.clipboard.saves, 1); // the second reply found the first one's save
    EXPECT_EQ(rig.deliveringDepth, 0);
    TickFor(ClipboardQuietMs);
    EXPECT_TRUE(HoldsWhatTheUserCopied());
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
