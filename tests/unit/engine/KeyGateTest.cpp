// The receiver thread's answer to a program waiting on a key comes from what
// the main window last published, never from the main window itself.
#include "engine/KeyGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

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

THtKeyStroke Release(int vk)
{
    THtKeyStroke k = Press(vk, {});
    k.keyIsBeingPressed = false;
    return k;
}

// After a space that may complete a macro, only the keys that type into the
// target are held, in order, until the engine ends the hold: the delivery's
// own Backspaces, Ctrl+V and Shift go on, and so does the release of a key
// pressed before.
TEST_F(KeyGateTest, KeysThatTypeAreHeldAfterAMacrosSpaceUntilTheHoldEnds)
{
    state.macroStems = {"sig", "meet("};
    gate.Publish(state);
    EXPECT_EQ(gate.Decide(Press(VkSpace, {})).holdId, 0); // nothing typed before it
    for (int vk : {'S', 'I', 'G'})
        (void)gate.Decide(Press(vk, {}));
    const TGateVerdict space = gate.Decide(Press(VkSpace, {}));
    EXPECT_FALSE(space.take);
    ASSERT_NE(space.holdId, 0);

    const TGateVerdict t = gate.Decide(Press('T', {false, false, true}));
    EXPECT_TRUE(t.take);
    EXPECT_FALSE(t.tell);
    EXPECT_FALSE(gate.Decide(Release('G')).take);
    for (const THtKeyStroke& own : {Press(VkBack, {}), Release(VkBack), Press(VkControl, {}),
             Press('V', {true, false, false}), Press(VkShift, {})})
        EXPECT_FALSE(gate.Decide(own).take) << own.VirtualKeyCode;
    EXPECT_TRUE(gate.Decide(Release('T')).take);
    EXPECT_TRUE(gate.Decide(Press(VkSpace, {})).take);

    EXPECT_TRUE(gate.ClaimHold(space.holdId));
    EXPECT_FALSE(gate.CheckHold(space.holdId).over); // claimed: the engine ends it
    // Done, the engine sends the fence; keys before it are still held.
    EXPECT_TRUE(gate.EndHoldAtFence(space.holdId));
    EXPECT_TRUE(gate.Decide(Press('X', {})).take);
    const TGateVerdict fence = gate.Decide(Release(HoldFenceKey));
    EXPECT_TRUE(fence.take);
    const std::vector<THtKeyStroke>& held = fence.sendOn;
    ASSERT_EQ(held.size(), 4u);
    EXPECT_EQ(held[0].VirtualKeyCode, 'T');
    EXPECT_TRUE(held[0].shiftHeld);
    EXPECT_FALSE(held[1].keyIsBeingPressed);
    EXPECT_EQ(held[2].VirtualKeyCode, VkSpace);
    EXPECT_EQ(held[3].VirtualKeyCode, 'X');
    EXPECT_FALSE(gate.Decide(Press('X', {})).take);
    EXPECT_FALSE(gate.ClaimHold(space.holdId));

    // A space after a word that is no macro holds nothing; "meet(" one does.
    for (int vk : {int{'S'}, int{'E'}, int{'E'}, VkSpace})
        EXPECT_EQ(gate.Decide(Press(vk, {})).holdId, 0);
    for (int vk : {'M', 'E', 'E', 'T'})
        (void)gate.Decide(Press(vk, {}));
    (void)gate.Decide(Press('9', {false, false, true}));
    EXPECT_NE(gate.Decide(Press(VkSpace, {})).holdId, 0);
}

// While the focus is a password, a letter that reaches the gate anyway (told
// by a hook that read the state before the focus changed) is kept nowhere:
// no space or Tab after it holds keys or is taken.
TEST_F(KeyGateTest, WhileTheFocusIsAPasswordNoTypedLetterIsKept)
{
    state.macroStems = {"sig"};
    state.endKeysTabEnter = true;
    gate.Publish(state);
    auto typeSig = [&] {
        for (int vk : {'S', 'I', 'G'})
            EXPECT_FALSE(gate.Decide(Press(vk, {})).take);
    };
    typeSig();
    gate.SetPasswordFocus(true);
    EXPECT_FALSE(gate.Decide(Press(VkTab, {})).take); // "sig" before it is gone
    typeSig();
    EXPECT_EQ(gate.Decide(Press(VkSpace, {})).holdId, 0);
    EXPECT_TRUE(gate.Decide(Press('K', {true, true, false})).take); // chords still work there
    gate.SetPasswordFocus(false);
    typeSig();
    EXPECT_TRUE(gate.Decide(Press(VkTab, {})).take);
}

// The main window and the focus watcher publish at once: one write at a
// time, none before the window's first state, each with the latest of both.
TEST(InputStatePublisher, WritesFromTwoThreadsNeverOverlapAndCarryBothParts)
{
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    std::vector<std::uint32_t> writes;
    TInputStatePublisher publisher([&](std::uint32_t flags, const std::string&) {
        overlapped = overlapped || inside.fetch_add(1) != 0;
        writes.push_back(flags);
        std::this_thread::yield();
        inside.fetch_sub(1);
    });
    publisher.PublishPasswordFocus(true);
    EXPECT_TRUE(writes.empty());
    std::thread watcher([&] {
        for (int i = 0; i < 2000; ++i)
            publisher.PublishPasswordFocus(i % 2 != 0);
    });
    for (int i = 0; i < 2000; ++i)
        publisher.PublishState(i % 2 == 0 ? htStateQuietMouseMoves : htStatePaused, "", true);
    watcher.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(writes.back(), htStatePaused | htStatePasswordFocus);
}

} // namespace
} // namespace corvane::testing
