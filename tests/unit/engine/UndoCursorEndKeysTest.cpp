// Backspace right after an expansion takes it back, the caret stands where
// the reply's "%Cursor" was, Tab and Enter end a macro, and "%Clipboard"
// brings in what the user had copied: all as a text box holds the result.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvane::testing {
namespace {

constexpr std::uint8_t BackspaceScan = 0x0E;

// RichEdit's source without the closing paragraph mark, so that the fake's
// plain text ends where RichEdit's copy of the whole text does.
std::string Rtf(const std::string& body) { return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\pard " + body + "}"; }

class UndoCursorEndKeysTest : public ::testing::Test {
protected:
    UndoCursorEndKeysTest()
    {
        letter = rig.AddReply("Letter", Rtf("Dear %Cursor,\\par \\b kind\\b0  regards\\par Ann"), "dear");
        rig.AddReply("Signature", Rtf("Best regards, Ann"), "sig");
        rig.AddReply("Quote", Rtf("You wrote: %Clipboard."), "quote");
    }
    // A Backspace the user presses: true when it was taken from the target.
    bool Backspace() { return rig.Key(VkBack, true, BackspaceScan) != 0; }
    std::size_t Caret() { return rig.desktop.CaretOf(MailWindow); }
    EngineRig rig;
    TRep* letter = nullptr;
};

TEST_F(UndoCursorEndKeysTest, TheCaretStandsWhereTheCursorWasAcrossLineBreaks)
{
    rig.Type("Hi dear ");
    EXPECT_EQ(rig.MailText(), "Hi Dear ,\r\nkind regards\r\nAnn");
    EXPECT_EQ(Caret(), std::string("Hi Dear ").size());
    // By a route that pastes without typing, too.
    rig.HandleEchoes();
    rig.desktop.TextOf(MailWindow).clear();
    rig.desktop.caretFromEnd.clear();
    rig.SelectNode(letter->Node);
    rig.engine.InsertSelectedReply();
    EXPECT_EQ(rig.MailText(), "Dear ,\r\nkind regards\r\nAnn");
    EXPECT_EQ(Caret(), std::string("Dear ").size());
}

TEST_F(UndoCursorEndKeysTest, BackspacePutsBackWhatWasTypedAndHoldingItDeletesNoMore)
{
    rig.Type("Hi dear ");
    rig.HandleEchoes();
    ASSERT_TRUE(rig.engine.CanUndoExpansion());
    EXPECT_TRUE(Backspace());
    EXPECT_EQ(rig.MailText(), "Hi dear ");
    EXPECT_EQ(Caret(), rig.MailText().size());
    // The keys it sent come back; the repeats of the held key are taken too.
    rig.HandleEchoes();
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(Backspace());
    EXPECT_EQ(rig.MailText(), "Hi dear ");
    rig.Key(VkBack, false, BackspaceScan);
    // Let go, Backspace is the user's again; what was put back is not expanded again.
    EXPECT_FALSE(Backspace());
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 1);
}

// With the hook library's ring, the program a key goes to takes the engine's
// own keys off it and tells nothing: they are neither waited for nor taken
// for the user's, and the user's keys are still told.
TEST_F(UndoCursorEndKeysTest, OwnKeysTakenOffTheRingAreNeitherWaitedForNorTheUsers)
{
    THtOwnKeyRing ring{};
    rig.engine.UseOwnKeyRing(&ring);
    rig.gate.UseOwnKeyRing(&ring);
    rig.desktop.TextOf(MailWindow) = "Hello ";
    rig.Type("sig ");
    EXPECT_FALSE(Backspace()); // struck before the program took the expansion's keys
    rig.HandleEchoesThroughTheRing(ring);
    EXPECT_EQ(rig.MailText(), "Hello Best regards, Ann");
    rig.Key(VkBack, false, BackspaceScan);
    rig.desktop.TextOf(MailWindow) = "Hello ";
    rig.Type("sig ");
    rig.HandleEchoesThroughTheRing(ring);
    EXPECT_EQ(ring.Taken, ring.Written);
    EXPECT_TRUE(Backspace());
    rig.HandleEchoesThroughTheRing(ring);
    EXPECT_EQ(rig.MailText(), "Hello sig ");
    rig.Key(VkBack, false, BackspaceScan);
    rig.Type("x");
    EXPECT_EQ(rig.engine.TypedBuffer(), "x");
}

// Its own keys come back through the hook looking like the user's (a scan
// code, no mark to read): the Backspaces that erase the macro are not the
// user's taking the expansion back, and the keys the user struck before
// them are not joined to what is typed after them.
TEST_F(UndoCursorEndKeysTest, ItsOwnKeysComingBackAreNotTheUsers)
{
    rig.desktop.TextOf(MailWindow) = "Hello ";
    rig.Type("sig ");
    EXPECT_FALSE(Backspace()); // struck before the expansion's keys came back
    rig.HandleEchoes();
    EXPECT_EQ(rig.MailText(), "Hello Best regards, Ann");
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 4);
    rig.Type("sig ");
    rig.Type("si");
    rig.HandleEchoes();
    rig.Type("g ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 2);
    rig.HandleEchoes();
    rig.desktop.TextOf(MailWindow) = "Hello ";
    rig.Type("sig ");
    rig.HandleEchoes();
    EXPECT_EQ(rig.MailText(), "Hello Best regards, Ann");
    EXPECT_TRUE(Backspace());
    rig.HandleEchoes();
    EXPECT_EQ(rig.MailText(), "Hello sig ");
}

TEST_F(UndoCursorEndKeysTest, AnythingElseFirstEndsTheChance)
{
    const auto expandThen = [this](const std::function<void()>& between) {
        rig.Type("sig ");
        rig.HandleEchoes();
        between();
        return Backspace();
    };
    EXPECT_FALSE(expandThen([this] { rig.Click(); }));
    EXPECT_FALSE(expandThen([this] { rig.Press('X'); }));
    EXPECT_FALSE(expandThen([this] { rig.Activate(0x3003); }));
    // Focus moved to another control of the window (no shell event for that).
    EXPECT_FALSE(expandThen([this] { rig.desktop.focus[MailWindow] = 0x4004; }));
    rig.desktop.focus.clear();
    // Letting go of the space, or Shift pressed, does not.
    EXPECT_TRUE(expandThen([this] {
        rig.Key(VkSpace, false);
        rig.Key(VkShift, true);
        rig.Key(VkShift, false);
    }));
    rig.Key(VkBack, false, BackspaceScan);
    rig.undoWithBackspace = false;
    EXPECT_FALSE(expandThen([] {}));
}

TEST_F(UndoCursorEndKeysTest, TabAndEnterEndAMacroOnlyWhenSwitchedOn)
{
    rig.Type("sig");
    EXPECT_EQ(rig.Key(VkTab, true), 0);
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    rig.endKeysTabEnter = true;
    // A Tab that ends no macro reaches the target.
    rig.Type("xyz");
    EXPECT_EQ(rig.Key(VkTab, true), 0);
    rig.desktop.TextOf(MailWindow) = "Hi ";
    rig.Type("sig");
    EXPECT_EQ(rig.Key(VkReturn, true), 1);
    rig.Key(VkReturn, false);
    // Three Backspaces (the Enter never reached the target), the reply, then the Enter.
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 3);
    EXPECT_EQ(rig.MailText(), "Hi Best regards, Ann\r\n");
    rig.HandleEchoes();
    // Taken back: the reply and the Enter's line break go, the macro and the Enter come back.
    EXPECT_TRUE(Backspace());
    EXPECT_EQ(rig.MailText(), "Hi sig\r\n");
}

TEST_F(UndoCursorEndKeysTest, TheClipboardPlaceholderIsWhatTheUserHadCopied)
{
    rig.clipboard.Copy("my {text}");
    rig.Type("quote ");
    EXPECT_EQ(rig.MailText(), "You wrote: my {text}.");
    // Again before the clipboard was given back: still the user's, not the reply out there.
    rig.Type(" quote ");
    EXPECT_EQ(rig.MailText(), "You wrote: my {text}. You wrote: my {text}.");
    rig.clock.milliseconds += ClipboardCeilingMs;
    (void)rig.engine.ClipboardTick();
    EXPECT_EQ(rig.clipboard.text, "my {text}");
}

} // namespace
} // namespace corvane::testing
