// The receiver thread's answer to a program waiting on a key comes from what
// the main window last published, never from the main window itself.
#include "engine/KeyGate.h"

#include <gtest/gtest.h>

#include "fakes/FakeClipboard.h"
#include "fakes/FakeDesktop.h"

namespace corvane::testing {
namespace {

constexpr WindowId Mail = 0x1001;

THtKeyStroke Press(int vk, TModifiers held)
{
    THtKeyStroke k{};
    k.VirtualKeyCode = vk;
    k.RepeatCount = 1;
    k.keyIsBeingPressed = true;
    k.controlHeld = held.control;
    k.altHeld = held.alt;
    k.shiftHeld = held.shift;
    return k;
}

class KeyGateTest : public ::testing::Test {
protected:
    KeyGateTest()
    {
        desktop.OpenWindow(Mail);
        desktop.programs[Mail] = "C:\\Program Files\\Mail\\MAIL.EXE";
        state.armed = true;
        state.pickerEnabled = true;
        state.hotKeyCodes = {"0K", "1G"};
        gate.Publish(state);
    }
    fakes::FakeClipboard clipboard;
    fakes::FakeDesktop desktop{clipboard};
    TKeyGate gate{desktop};
    TGateState state;
};

TEST_F(KeyGateTest, TakesOnlyThePressThatCompletesAPublishedChord)
{
    EXPECT_TRUE(gate.Decide(Press('K', {true, true, false})).take);
    EXPECT_FALSE(gate.Decide(Press('K', {true, true, true})).take); // Ctrl+Alt+Shift+K is no hot key
    EXPECT_TRUE(gate.Decide(Press('G', {true, true, true})).take);
    EXPECT_TRUE(gate.Decide(Press('V', {true, false, true})).take);
    EXPECT_TRUE(gate.Decide(Press(VkSpace, {true, true, false})).take);
    THtKeyStroke release = Press('K', {true, true, false});
    release.keyIsBeingPressed = false;
    EXPECT_FALSE(gate.Decide(release).take);
    // Every key is told to the engine, taken or not.
    EXPECT_TRUE(gate.Decide(Press('A', {})).tell);
}

TEST_F(KeyGateTest, APauseAProgramKeptOutOrTheProgramInFrontLetEveryKeyPassOnceTheyArePublished)
{
    state.paused = true;
    EXPECT_TRUE(gate.Decide(Press('K', {true, true, false})).take); // not published yet
    gate.Publish(state);
    EXPECT_FALSE(gate.Decide(Press('K', {true, true, false})).take);

    state.paused = false;
    state.excludedPrograms = "notepad.exe; mail.exe";
    gate.Publish(state);
    EXPECT_FALSE(gate.Decide(Press('V', {true, false, true})).take);

    state.excludedPrograms.clear();
    state.pickerEnabled = false;
    state.armed = true;
    gate.Publish(state);
    EXPECT_FALSE(gate.Decide(Press(VkSpace, {true, true, false})).take);
    EXPECT_TRUE(gate.Decide(Press('K', {true, true, false})).take);

    state.armed = false; // the program's own window is active
    gate.Publish(state);
    EXPECT_FALSE(gate.Decide(Press('K', {true, true, false})).take);
}

} // namespace
} // namespace corvane::testing
