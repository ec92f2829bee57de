// Programs the engine stays out of, the pause, and Ctrl+Alt+Space: the
// reply chosen in the picker pasted into the program that was in front.
#include "EngineTestRig.h"

#include <gtest/gtest.h>

namespace corvane::testing {
namespace {

constexpr WindowId PasswordsWindow = 0x3003;

class StayOutTest : public ::testing::Test {
protected:
    StayOutTest()
    {
        sig = rig.AddReply("Signature", RichEditRtf("Best regards"), "sig", "0K");
        greet = rig.AddReply("Greet", RichEditRtf("Dear Name,"), "greet(Name)");
        rig.desktop.programs[MailWindow] = "C:\\Program Files\\Mail\\mail.exe";
        rig.desktop.OpenWindow(PasswordsWindow);
        rig.desktop.programs[PasswordsWindow] = "C:\\Tools\\KeePass.exe";
        rig.excludedPrograms = "game.exe;keepass.EXE";
        rig.desktop.foreground = MailWindow;
    }
    void Hold(std::initializer_list<int> keys, bool down = true)
    {
        for (int k : keys)
            rig.desktop.keys[static_cast<size_t>(k)] = down;
    }
    // A chord held for one tick, then let go, then one more tick.
    void PressChord(std::initializer_list<int> keys)
    {
        Hold(keys);
        rig.engine.TimerTick();
        Hold(keys, false);
        rig.engine.TimerTick();
    }
    EngineRig rig;
    TRep* sig;
    TRep* greet;
};

TEST_F(StayOutTest, AnExcludedProgramKeepsWhatIsTypedAndItsChordsWhileAnotherExpands)
{
    rig.SelectNode(sig->Node);
    rig.desktop.foreground = PasswordsWindow;
    rig.Type("sig ");
    PressChord({VkControl, VkMenu, 'K'});
    PressChord({VkControl, VkShift, VkV});
    PressChord({VkControl, VkMenu, VkSpace});
    EXPECT_EQ(rig.desktop.TextOf(PasswordsWindow), "sig ");
    EXPECT_TRUE(rig.desktop.sent.empty());
    EXPECT_TRUE(rig.pickedOver.empty());

    rig.desktop.foreground = MailWindow;
    rig.Type("sig ");
    EXPECT_EQ(rig.MailText(), "Best regards\r\n");
    EXPECT_EQ(rig.delivered, (std::vector<const TRep*>{sig}));

    // Back in the excluded program, and in a window of it opened since.
    rig.HandleEchoes();
    rig.desktop.foreground = PasswordsWindow;
    rig.Type("sig ");
    constexpr WindowId SecondPasswordsWindow = 0x3004;
    rig.desktop.OpenWindow(SecondPasswordsWindow);
    rig.desktop.programs[SecondPasswordsWindow] = "C:\\Tools\\KeePass.exe";
    rig.desktop.foreground = SecondPasswordsWindow;
    rig.Type("sig ");
    EXPECT_EQ(rig.desktop.TextOf(PasswordsWindow), "sig sig ");
    EXPECT_EQ(rig.desktop.TextOf(SecondPasswordsWindow), "sig ");
    EXPECT_EQ(rig.delivered, (std::vector<const TRep*>{sig}));
}

TEST_F(StayOutTest, AChordSeenBeforeGoingIntoAnExcludedProgramIsDropped)
{
    Hold({VkControl, VkMenu, 'K'});
    rig.engine.TimerTick();
    Hold({VkControl, VkMenu, 'K'}, false);
    rig.desktop.foreground = PasswordsWindow;
    rig.engine.TimerTick();
    rig.desktop.foreground = MailWindow;
    rig.engine.TimerTick();
    EXPECT_EQ(rig.MailText(), "");
    EXPECT_EQ(rig.engine.PendingHotKey(), -1);
}

TEST_F(StayOutTest, WhilePausedNothingIsRecognisedAndAfterwardsAllIsAsBefore)
{
    rig.engine.SetPaused(true);
    rig.Type("sig ");
    PressChord({VkControl, VkMenu, 'K'});
    EXPECT_EQ(rig.MailText(), "sig ");
    EXPECT_TRUE(rig.desktop.sent.empty());

    rig.engine.SetPaused(false);
    rig.Type("sig ");
    EXPECT_EQ(rig.MailText(), "sig Best regards\r\n");
}

TEST_F(StayOutTest, ThePickersChoiceIsPastedIntoTheProgramThatWasInFront)
{
    rig.desktop.TextOf(MailWindow) = "Hello ";
    rig.pickerChoice = sig;
    PressChord({VkControl, VkMenu, VkSpace});
    EXPECT_EQ(rig.pickedOver, (std::vector<WindowId>{MailWindow}));
    EXPECT_EQ(rig.desktop.foreground, MailWindow);
    EXPECT_EQ(rig.MailText(), "Hello Best regards\r\n");
    EXPECT_EQ(rig.delivered, (std::vector<const TRep*>{sig}));
}

TEST_F(StayOutTest, NothingChosenInThePickerDeliversNothingAndOnlyEscapeGivesTheProgramBackTheFront)
{
    rig.clipboard.text = "the user's own";
    PressChord({VkControl, VkMenu, VkSpace});
    ASSERT_EQ(rig.pickedOver.size(), 1u);
    EXPECT_EQ(rig.MailText(), "");
    EXPECT_EQ(rig.clipboard.text, "the user's own");
    EXPECT_TRUE(rig.delivered.empty());
    EXPECT_EQ(rig.desktop.foreground, MailWindow);

    rig.pickerLeftFor = PasswordsWindow;
    PressChord({VkControl, VkMenu, VkSpace});
    EXPECT_EQ(rig.desktop.foreground, PasswordsWindow);
    EXPECT_EQ(rig.MailText(), "");
}

TEST_F(StayOutTest, AParametricReplyChosenInThePickerAsksForItsValuesFirst)
{
    rig.pickerChoice = greet;
    rig.dialogValues = "Jane";
    PressChord({VkControl, VkMenu, VkSpace});
    EXPECT_EQ(rig.askedLists, (std::vector<std::string>{"Name"}));
    EXPECT_EQ(rig.MailText(), "Dear Jane,\r\n");

    rig.desktop.TextOf(MailWindow).clear();
    rig.dialogAccepts = false;
    PressChord({VkControl, VkMenu, VkSpace});
    EXPECT_EQ(rig.MailText(), "");
}

TEST_F(StayOutTest, TheHookTakesCtrlAltSpaceFromTheProgramOnlyWhereThePickerWouldOpen)
{
    const TModifiers ctrlAlt{true, true, false};
    EXPECT_TRUE(rig.engine.TakesChordKey(VkSpace, true, ctrlAlt));
    EXPECT_TRUE(rig.engine.PendingPicker());
    EXPECT_FALSE(rig.engine.TakesChordKey(VkSpace, true, {true, true, true}));

    rig.pickerEnabled = false;
    EXPECT_FALSE(rig.engine.TakesChordKey(VkSpace, true, ctrlAlt));
    rig.pickerEnabled = true;
    rig.desktop.foreground = PasswordsWindow;
    EXPECT_FALSE(rig.engine.TakesChordKey(VkSpace, true, ctrlAlt));
    EXPECT_FALSE(rig.engine.TakesChordKey('K', true, ctrlAlt)); // a reply's hot key passes too
    rig.desktop.foreground = MailWindow;
    rig.engine.SetPaused(true);
    EXPECT_FALSE(rig.engine.TakesChordKey(VkSpace, true, ctrlAlt));
}

TEST_F(StayOutTest, TheChordOpensNothingWhenThePickerIsOffOrShiftIsHeld)
{
    rig.pickerEnabled = false;
    PressChord({VkControl, VkMenu, VkSpace});
    rig.pickerEnabled = true;
    PressChord({VkControl, VkMenu, VkShift, VkSpace});
    EXPECT_TRUE(rig.pickedOver.empty());
}

} // namespace
} // namespace corvane::testing
