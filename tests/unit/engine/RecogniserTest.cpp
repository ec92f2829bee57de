// Typed macros from keystroke notifications to the reply standing in the
// other program's window.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

constexpr int VkCapital = 0x14, VkNumpad1 = 0x61, VkReturn = 0x0D;

class TypedMacroTest : public ::testing::Test {
protected:
    TypedMacroTest()
    {
        sig = rig.AddReply("Signature", RichEditRtf("Best regards, Ann"), "sig");
        meet = rig.AddReply("Meeting", RichEditRtf("See you on \\b DAY\\b0  at TIME."), "meet(DAY,TIME)");
    }
    EngineRig rig;
    TRep* sig;
    TRep* meet;
};

TEST_F(TypedMacroTest, MacroAndSpaceAreReplacedByTheReply)
{
    const auto stored = sig->Lines;
    rig.Type("Hello sig ");
    EXPECT_EQ(rig.MailText(), "Hello Best regards, Ann\r\n");
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 4);
    // Ctrl+V comes after the last Backspace, with nothing in between; the
    // Backspaces go in one go, and so does Ctrl+V: no key of the user's
    // lands among them.
    const auto& sent = rig.desktop.sent;
    ASSERT_EQ(sent.size(), 8u + 4u);
    EXPECT_EQ(sent[8], std::make_pair(VkControl, false));
    EXPECT_EQ(sent[9], std::make_pair(VkV, false));
    EXPECT_EQ(rig.desktop.batches, (std::vector<std::size_t>{8, 4}));
    EXPECT_EQ(rig.desktop.pausedMs, 0);
    // The echoed keystrokes leave the buffer empty; the editor shows the
    // stored reply again and nothing is marked as changed.
    rig.HandleEchoes();
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
    EXPECT_EQ(sig->Lines, stored);
    EXPECT_FALSE(rig.editor.Modified());
    EXPECT_EQ(rig.tree.Selected(), nullptr);
    EXPECT_EQ(rig.editor.loads, 0); // the user's editor never holds a delivery
}

// Rendering costs more than the rest of a delivery: a reply filled in as
// before is not rendered again, and arrives and is counted the same.
TEST_F(TypedMacroTest, AReplyFilledInAsBeforeIsRenderedOnceAndArrivesAlikeEachTime)
{
    for (const char* typed : {"sig ", "meet(Friday,noon) ", "sig ", "meet(Monday,noon) ", "sig "}) {
        rig.Type(typed);
        rig.HandleEchoes();
    }
    EXPECT_EQ(rig.renderer.loads, 3);
    const std::string text = rig.MailText();
    std::size_t signatures = 0;
    for (std::size_t at = text.find("Best regards, Ann"); at != std::string::npos;
         at = text.find("Best regards, Ann", at + 1))
        ++signatures;
    EXPECT_EQ(signatures, 3u);
    EXPECT_NE(text.find("See you on Friday at noon."), std::string::npos);
    EXPECT_NE(text.find("See you on Monday at noon."), std::string::npos);
    ASSERT_EQ(rig.deliveries.size(), 5u);
    EXPECT_EQ(rig.deliveries[4].charsIn, rig.deliveries[0].charsIn);
    EXPECT_GT(rig.deliveries[0].charsIn, 0);
}

// A fast typist's keys after the space reach the target after the reply,
// none lost or doubled, however late the engine hears of the space; held
// too long, they go on and the macro stays as typed.
TEST_F(TypedMacroTest, KeysTypedRightAfterTheSpaceLandAfterTheReply)
{
    rig.engineBusy = true;
    rig.Type("sig thanks");
    EXPECT_EQ(rig.MailText(), "sig ");
    rig.engineBusy = false;
    rig.EngineCatchesUp();
    EXPECT_EQ(rig.MailText(), "Best regards, Ann\r\nthanks");
    EXPECT_EQ(rig.engine.TypedBuffer(), "thanks");

    rig.desktop.TextOf(MailWindow).clear();
    rig.engineBusy = true;
    rig.Type(" sig thanks");
    rig.CheckHold(2); // the engine did not claim it in time
    EXPECT_EQ(rig.MailText(), " sig thanks");
    rig.EngineCatchesUp();
    EXPECT_EQ(rig.MailText(), " sig thanks");
    EXPECT_EQ(rig.engine.TypedBuffer(), "thanks");
}

TEST_F(TypedMacroTest, ShiftAndCapsLockSpellingsMatch)
{
    rig.Type("SIG ");
    EXPECT_EQ(rig.MailText(), "BEST REGARDS, ANN\r\n"); // the reply follows the macro's capitals
    rig.HandleEchoes();
    // Caps Lock itself clears; the letters then arrive unshifted.
    rig.Press(VkCapital);
    rig.Type("sig ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 2);
}

TEST_F(TypedMacroTest, AShiftHeldOverTheSpaceIsLetGoAndPressedAgainOnItsOwnSide)
{
    // The right Shift still held at the space: were the generic (left) Shift
    // let go, the right one would turn the paste into Ctrl+Shift+V. (The
    // reply's case is not what this is about.)
    rig.followMacroCase = false;
    rig.desktop.keys[VkRShift] = true;
    rig.Type("SIG ");
    EXPECT_EQ(rig.MailText(), "Best regards, Ann\r\n");
    EXPECT_EQ(rig.desktop.ctrlShiftV, 0);
    const auto& sent = rig.desktop.sent;
    ASSERT_EQ(sent.size(), 1u + 8u + 4u + 1u);
    EXPECT_EQ(sent.front(), std::make_pair(VkRShift, true));
    EXPECT_EQ(sent.back(), std::make_pair(VkRShift, false));
    EXPECT_TRUE(rig.desktop.KeyDown(VkRShift));
    EXPECT_FALSE(rig.desktop.KeyDown(VkLShift));

    // Both held, and the right Alt: each let go and pressed again, Alt after
    // a key that keeps its release from opening the menu bar.
    constexpr int VkLMenu = 0xA4, VkRMenu = 0xA5, Unassigned = 0xE8;
    rig.HandleEchoes();
    rig.desktop.sent.clear();
    rig.desktop.TextOf(MailWindow).clear();
    rig.desktop.keys[VkLShift] = rig.desktop.keys[VkRMenu] = true;
    rig.Type("SIG ");
    EXPECT_EQ(rig.MailText(), "Best regards, Ann\r\n");
    const std::vector<std::pair<int, bool>> before(sent.begin(), sent.begin() + 5);
    EXPECT_EQ(before,
        (std::vector<std::pair<int, bool>>{
            {VkLShift, true}, {VkRShift, true}, {Unassigned, false}, {Unassigned, true}, {VkRMenu, true}}));
    for (int key : {VkLShift, VkRShift, VkRMenu})
        EXPECT_TRUE(rig.desktop.KeyDown(key)) << key;
    EXPECT_FALSE(rig.desktop.KeyDown(VkLMenu));
}

TEST_F(TypedMacroTest, EachShiftKeyCountsOnItsOwn)
{
    constexpr int LeftScan = 0x2A, RightScan = 0x36;
    rig.engine.KeyAction(VkShift, true, LeftScan);
    rig.engine.KeyAction(VkShift, true, RightScan);
    rig.engine.KeyAction(VkShift, false, LeftScan); // the right one is still held
    rig.Press('9');
    rig.engine.KeyAction(VkShift, false, RightScan);
    rig.Press('9');
    rig.engine.KeyAction(VkRShift, true);
    rig.engine.KeyAction(VkLShift, true);
    rig.engine.KeyAction(VkRShift, false);
    rig.Press('0');
    EXPECT_EQ(rig.engine.TypedBuffer(), "(9)");
}

TEST_F(TypedMacroTest, ConsolesGetOneLineTypedAndNothingThatRunsIt)
{
    constexpr WindowId Console = 0x3003, Vim = 0x4004;
    rig.desktop.facts[Console] = {Console, "ConsoleWindowClass"};
    rig.desktop.facts[Vim] = {Vim, "VimWindow"};
    rig.AddReply("Lines", RichEditRtf("ls -l\\par cd .."), "lns");
    rig.AddReply("Tabbed", RichEditRtf("git\\tab status\\par "), "gst");
    rig.clipboard.Copy("the user's");
    rig.desktop.OpenWindow(Console);
    // Several lines would run each but the last: none is typed, the reply is
    // left on the clipboard and the user is told, once.
    rig.Type("lns ");
    EXPECT_EQ(rig.desktop.TextOf(Console), "");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 4);
    EXPECT_EQ(rig.clipboard.text, "ls -l\r\ncd ..\r\n");
    // Told in a balloon, not a box, which would take the Backspaces still on
    // their way; once a session.
    EXPECT_EQ(rig.notices, (std::vector<std::string>{ConsoleSeveralLinesText}));
    rig.HandleEchoes();
    rig.Type("lns ");
    rig.engine.TimerTick();
    EXPECT_EQ(rig.notices.size(), 1u);
    EXPECT_TRUE(rig.boxes.shown.empty());

    // One line: typed, a tab as a blank and the line end left out, and the
    // clipboard not touched at all.
    rig.HandleEchoes();
    rig.clipboard.Copy("the user's");
    const auto copies = rig.clipboard.copies;
    const auto sequence = rig.clipboard.sequence;
    rig.desktop.TextOf(Console).clear();
    rig.Type("gst ");
    EXPECT_EQ(rig.desktop.TextOf(Console), "git status");
    EXPECT_EQ(rig.clipboard.text, "the user's");
    EXPECT_EQ(rig.clipboard.copies, copies);
    EXPECT_EQ(rig.clipboard.sequence, sequence);
    rig.HandleEchoes();

    // A macro ended by Enter: after a line typed whole the Enter follows, as
    // the user pressed it; after several lines left on the clipboard it would
    // run the line without the reply, so it stays out.
    rig.endKeysTabEnter = true;
    rig.Type("gst");
    EXPECT_EQ(rig.Key(VkReturn, true), 1);
    rig.Key(VkReturn, false);
    EXPECT_EQ(rig.desktop.PressesOf(VkReturn), 1);
    rig.HandleEchoes();
    rig.Type("lns");
    EXPECT_EQ(rig.Key(VkReturn, true), 1);
    rig.Key(VkReturn, false);
    EXPECT_EQ(rig.desktop.PressesOf(VkReturn), 1);
    rig.HandleEchoes();
    rig.endKeysTabEnter = false;

    // A class the user added in the options; blanks around the names do not count.
    rig.consoleClasses = "mintty2 , VimWindow";
    rig.desktop.OpenWindow(Vim);
    rig.Type("sig ");
    EXPECT_EQ(rig.desktop.TextOf(Vim), "Best regards, Ann");

    // Keystrokes the system refuses stop the typing, and the user hears of it.
    rig.AddReply("Long", RichEditRtf(std::string(100, 'x')), "long");
    rig.desktop.typeLimit = 70;
    rig.desktop.TextOf(Vim).clear();
    rig.Type("long ");
    EXPECT_EQ(rig.desktop.TextOf(Vim), std::string(70, 'x'));
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, TypingStoppedText);
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    EXPECT_EQ(rig.clipboard.text.substr(0, 100), std::string(100, 'x')); // where the message says it is
}

TEST_F(TypedMacroTest, NothingTypedWhereTheFocusIsReportedAsAPasswordCounts)
{
    rig.AddReply("Mail", RichEditRtf("ann@example.org"), "@ml");
    const fakes::FakeLayout german = fakes::GermanLayout();
    rig.desktop.passwordFocus = true;
    rig.TypeOn(german, "@ml ");
    rig.Type("sig ");
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 0);
    // The focus moves on: typing counts again, and the keys typed into the
    // password left nothing behind to complete a macro.
    rig.TypeOn(german, "@m");
    rig.desktop.passwordFocus = false;
    rig.TypeOn(german, "l ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    rig.TypeOn(german, "@ml ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 1);
}

TEST_F(TypedMacroTest, KeysAreReadInTheTargetsKeyboardLayout)
{
    rig.AddReply("Mail", RichEditRtf("ann@example.org"), "@ml");
    const fakes::FakeLayout german = fakes::GermanLayout();
    rig.TypeOn(german, "meet(Friday,noon) ");
    EXPECT_EQ(rig.MailText(), "See you on Friday at noon.\r\n");
    rig.HandleEchoes();
    // AltGr+Q gives "@" and letting go of AltGr keeps it.
    rig.TypeOn(german, "@ml ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 2);
    rig.HandleEchoes();

    const fakes::FakeLayout french = fakes::FrenchLayout();
    rig.desktop.TextOf(MailWindow).clear();
    rig.TypeOn(french, "meet(Monday,ten) ");
    EXPECT_EQ(rig.MailText(), "See you on Monday at ten.\r\n");
    rig.HandleEchoes();

    // A dead accent neither types nor ends the macro; a character outside
    // the macro characters ends it.
    rig.TypeOn(german, "s");
    rig.Press(0xDD);
    rig.TypeOn(german, "ig");
    EXPECT_EQ(rig.engine.TypedBuffer(), "sig");
    rig.Press('3'); // Shift+3 is outside the macro characters in German, 3 is not
    EXPECT_EQ(rig.engine.TypedBuffer(), "sig3");
    rig.engine.KeyAction(VkShift, true);
    rig.Press('3');
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
}

TEST_F(TypedMacroTest, KeysThatAreNotInTheTableClearTheBuffer)
{
    rig.Type("si");
    rig.Press(VkBack);
    rig.Type("ig ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    rig.Type("sig");
    rig.Click(); // a click in the middle
    rig.Type(" ");
    rig.Type("s");
    rig.Press(VkNumpad1);
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
    rig.Type("ig");
    rig.Key(VkControl, false);
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
    rig.Press(VkReturn);
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
}

TEST_F(TypedMacroTest, AutoRepeatAppendsOncePerRepeat)
{
    for (int i = 0; i < 3; ++i)
        rig.Key('A', true);
    EXPECT_EQ(rig.engine.TypedBuffer(), "aaa");
}

TEST_F(TypedMacroTest, ParametersTypedInParenthesesAreFilledIn)
{
    // Shift is up again when "(" and ")" are handled; the notifications say it was down.
    rig.Type("meet(Friday,noon) ");
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 18);
    EXPECT_EQ(rig.MailText(), "See you on Friday at noon.\r\n");
    EXPECT_TRUE(rig.askedLists.empty()); // typed values never ask
}

TEST_F(TypedMacroTest, WithoutClosingParenthesisNothingIsReplaced)
{
    rig.Type("meet(Friday,noon) ");
    rig.HandleEchoes();
    rig.desktop.TextOf(MailWindow).clear();
    rig.desktop.sent.clear();
    rig.Type("meet(Friday ");
    EXPECT_EQ(rig.desktop.PressesOf(VkBack), 12);
    EXPECT_EQ(rig.MailText(), "See you on DAY at TIME.\r\n");
}

TEST_F(TypedMacroTest, NothingHappensWhileTheProgramIsActive)
{
    rig.engine.SetAppInactive(false);
    rig.Type("sig ");
    EXPECT_TRUE(rig.desktop.sent.empty());
    EXPECT_EQ(rig.MailText(), "sig ");
}

TEST_F(TypedMacroTest, ClipboardHeldElsewhereLeavesTheTypedTextAndTellsOnce)
{
    rig.clipboard.text = "stale";
    rig.clipboard.heldByAnotherProgram = true;
    rig.Type("sig ");
    // Erased while the reply was being copied, the macro comes back as typed.
    EXPECT_EQ(rig.MailText(), "sig ");
    EXPECT_EQ(rig.desktop.PressesOf(VkV), 0);
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, ClipboardBusyText);
    EXPECT_EQ(rig.engine.TypedBuffer(), "");
}

TEST_F(TypedMacroTest, PreviousSelectionIsRestored)
{
    rig.SelectNode(meet->Node);
    rig.editor.SetModified(true); // an edit not yet committed stays one
    const auto stored = meet->Lines;
    rig.Type("meet(Mon,ten) ");
    EXPECT_EQ(rig.MailText(), "See you on Mon at ten.\r\n");
    EXPECT_EQ(meet->Lines, stored);
    EXPECT_TRUE(rig.editor.Modified());
    EXPECT_EQ(rig.tree.Selected(), meet->Node);
    EXPECT_EQ(rig.editor.PlainText(), "See you on DAY at TIME.\r\n");
}

} // namespace
} // namespace corvane::testing
