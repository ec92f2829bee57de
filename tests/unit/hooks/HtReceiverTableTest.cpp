#include "hooks/tolvar/HtReceiverTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace corvane::tolvar {
namespace {

THtSharedHookBlock ZeroBlock()
{
    THtSharedHookBlock b;
    std::memset(&b, 0, sizeof b);
    return b;
}

THtReceiverList ZeroList()
{
    THtReceiverList l;
    std::memset(&l, 0, sizeof l);
    return l;
}

// The system as the wrapper sees it: live windows and hooks.
struct FakeSys {
    std::set<std::uint32_t> liveWindows;
    std::set<std::uint32_t> liveHooks;
    std::uint32_t nextHook = 0x1000;
    bool failSetHook = false;
    std::int32_t lastError = 0;
    int setHookCalls = 0;

    bool WindowExists(std::uint32_t w) const { return liveWindows.count(w) != 0; }
    std::uint32_t SetHook()
    {
        ++setHookCalls;
        if (failSetHook) {
            lastError = 1428;
            return 0;
        }
        liveHooks.insert(nextHook);
        return nextHook++;
    }
    bool Unhook(std::uint32_t h)
    {
        if (liveHooks.erase(h) == 0) {
            lastError = 1404;
            return false;
        }
        return true;
    }
    std::int32_t LastErrorCode() const { return lastError; }
};

TEST(HtReceiverTable, LayoutMatchesTheSharedBlock)
{
    EXPECT_EQ(sizeof(THtSharedHookBlock), 1036u);
    EXPECT_EQ(offsetof(THtSharedHookBlock, Receivers) + offsetof(THtReceiverList, Items) + 8 * 5 + 4,
        offsetof(THtSharedHookBlock, Receivers.Items[5].Window));
}

// Keys copy the table without the mutex: a copy that overlapped a change is
// made again, and a table that never stands still is left to the mutex.
TEST(HtReceiverTable, AKeysCopyOfTheTableIsNeverOneCaughtHalfWayThroughAChange)
{
    THtSharedHookBlock b = ZeroBlock();
    Add(b.Receivers, 10, true);
    int loads = 0;
    // A change begins before the first copy ends and is over by the third look.
    auto changing = [&](const std::uint32_t& sequence) {
        ++loads;
        if (loads == 2) {
            b.Sequence = 1;
            Add(b.Receivers, 20, false);
        } else if (loads == 3) {
            b.Sequence = 2;
        }
        return sequence;
    };
    THtReceiverList copy{};
    ASSERT_TRUE(CopyReceiversSteadily(b, copy, changing, [] {}));
    ASSERT_EQ(copy.Count, 2);
    EXPECT_EQ(copy.Items[1].Window, 20u);
    EXPECT_GT(loads, 3);

    auto neverStill = [&](const std::uint32_t&) { return static_cast<std::uint32_t>(2 * ++loads); };
    EXPECT_FALSE(CopyReceiversSteadily(b, copy, neverStill, [] {}));
}

// A program that died while publishing its state left it half written:
// hooked programs tell every key meanwhile, and the next publishing makes the
// state read again, pause and all.
TEST(HtReceiverTable, AStateLeftHalfWrittenByADeadWriterIsReadAgainAfterTheNextWrite)
{
    THtInputState state{};
    const auto add = [](std::uint32_t& field) { ++field; };
    const auto load = [](const std::uint32_t& field) { return field; };
    WriteInputState(state, htStatePaused, "", add);
    EXPECT_FALSE(KeysAreTold(state, "C:\\a.exe", load, [] {}));
    BeginChange(state.Sequence, add); // and no end: the writer died
    EXPECT_TRUE(KeysAreTold(state, "C:\\a.exe", load, [] {}));
    WriteInputState(state, htStatePaused, "", add);
    EXPECT_FALSE(KeysAreTold(state, "C:\\a.exe", load, [] {}));
}

// The keys the program sends are taken off the ring in order by the hook
// that meets them; the user's keys in between stay told, a lost key is
// given up after a while, and a full ring gives up its oldest.
TEST(OwnKeyRing, KeysAreTakenOffInOrderOnceAndLostOnesAreGivenUp)
{
    constexpr std::uint16_t Ctrl = 0x11, V = 'V', A = 'A';
    THtOwnKeyRing ring{};
    const std::uint32_t first = PutOwnKey(ring, Ctrl, true, 1000);
    PutOwnKey(ring, V, true, 1000);
    PutOwnKey(ring, V, false, 1000);
    const std::uint32_t last = PutOwnKey(ring, Ctrl, false, 1000);
    EXPECT_FALSE(TakeOwnKey(ring, A, true, 1001)); // the user's, struck before them
    EXPECT_TRUE(TakeOwnKey(ring, Ctrl, true, 1002));
    EXPECT_TRUE(OwnKeyIsTaken(ring, first));
    EXPECT_FALSE(TakeOwnKey(ring, Ctrl, true, 1003)); // once only
    EXPECT_FALSE(TakeOwnKey(ring, V, false, 1003)); // not the next one
    EXPECT_TRUE(TakeOwnKey(ring, V, true, 1003));
    EXPECT_TRUE(TakeOwnKey(ring, V, false, 1003));
    EXPECT_FALSE(OwnKeyIsTaken(ring, last));
    // Never met (its program closed): given up when a later key comes.
    PutOwnKey(ring, V, true, 5000);
    EXPECT_FALSE(OwnKeyIsTaken(ring, last));
    EXPECT_TRUE(TakeOwnKey(ring, V, true, 5001));
    EXPECT_TRUE(OwnKeyIsTaken(ring, last));
    EXPECT_FALSE(TakeOwnKey(ring, V, true, 5002)); // empty
    // A ring left full by a program that took none gives up its oldest.
    const std::uint32_t oldest = PutOwnKey(ring, A, true, 6000);
    for (std::uint32_t i = 1; i < OwnKeySlots; ++i)
        PutOwnKey(ring, A, false, 6000);
    EXPECT_FALSE(OwnKeyIsTaken(ring, oldest));
    PutOwnKey(ring, V, true, 6000);
    EXPECT_TRUE(OwnKeyIsTaken(ring, oldest));
    EXPECT_TRUE(TakeOwnKey(ring, A, false, 6001));
}

TEST(HtReceiverTable, AddFillsInOrderAndRefusesThe128th)
{
    THtReceiverList l = ZeroList();
    for (std::uint32_t i = 0; i < 127; ++i)
        ASSERT_EQ(Add(l, 100 + i, i % 2 == 0), static_cast<std::int32_t>(i));
    EXPECT_EQ(l.Count, 127);
    EXPECT_EQ(l.Items[0].Filter, 1);
    EXPECT_EQ(l.Items[1].Filter, 0);
    EXPECT_EQ(Add(l, 999, true), -1);
    EXPECT_EQ(l.Count, 127);
    EXPECT_EQ(l.Items[127].Window, 0u);
    EXPECT_EQ(IndexOf(l, 999), -1);
}

TEST(HtReceiverTable, DeleteMovesTheLastEntryIntoTheFreedSlot)
{
    THtReceiverList l = ZeroList();
    Add(l, 10, false);
    Add(l, 20, true);
    Add(l, 30, true);
    Delete(l, 0);
    ASSERT_EQ(l.Count, 2);
    EXPECT_EQ(l.Items[0].Window, 30u);
    EXPECT_EQ(l.Items[0].Filter, 1);
    EXPECT_EQ(l.Items[1].Window, 20u);
    Delete(l, 1); // the last one: nothing moves
    EXPECT_EQ(l.Count, 1);
    EXPECT_EQ(l.Items[0].Window, 30u);
    Delete(l, 1); // out of range
    Delete(l, -1);
    EXPECT_EQ(l.Count, 1);
}

TEST(HtReceiverTable, IndexOfFindsTheFirstMatchWithinCount)
{
    THtReceiverList l = ZeroList();
    Add(l, 10, false);
    Add(l, 20, false);
    EXPECT_EQ(IndexOf(l, 20), 1);
    EXPECT_EQ(IndexOf(l, 10), 0);
    l.Items[2].Window = 30; // beyond Count: not an entry
    EXPECT_EQ(IndexOf(l, 30), -1);
}

TEST(HtReceiverTable, CountsOutsideTheTableAreTakenAsTheNearestBound)
{
    THtReceiverList l = ZeroList();
    l.Items[126].Window = 77;
    l.Count = 0x7FFFFFFF;
    EXPECT_EQ(ValidCount(l), 127);
    EXPECT_EQ(IndexOf(l, 77), 126);
    EXPECT_EQ(Add(l, 5, false), -1);
    l.Count = 1000;
    Delete(l, 126);
    EXPECT_EQ(l.Count, 126);

    l.Count = -5;
    EXPECT_EQ(IndexOf(l, 77), -1);
    EXPECT_EQ(Add(l, 5, false), 0);
    EXPECT_EQ(l.Count, 1);

    l.Count = -1;
    int calls = 0;
    TGoneWindows gone{};
    EXPECT_EQ(NotifyReceivers(
                  l,
                  [&](const THtReceiver&) {
                      ++calls;
                      return Delivery{true, 0};
                  },
                  gone),
        0);
    EXPECT_EQ(calls, 0);
    THtReceiverList copy = ZeroList();
    l.Count = 0x7FFFFFFF;
    CopyReceivers(l, copy);
    EXPECT_EQ(copy.Count, 127);
}

TEST(HtReceiverTable, ANotificationPassDropsOnlyTheGoneWindowsAndStillNotifiesThoseBehind)
{
    THtReceiverList shared = ZeroList();
    Add(shared, 1, false);
    Add(shared, 2, false); // gone
    Add(shared, 3, true); // slow: its answer did not come, but its window is there
    Add(shared, 4, false);
    THtReceiverList copy = ZeroList();
    CopyReceivers(shared, copy);
    // While the pass runs without the lock, another receiver registers.
    Add(shared, 5, false);
    std::vector<std::uint32_t> seen;
    TGoneWindows gone{};
    NotifyReceivers(
        copy,
        [&](const THtReceiver& r) {
            seen.push_back(r.Window);
            return Delivery{r.Window != 2, 0};
        },
        gone);
    DropGone(shared, gone);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(shared.Count, 4);
    EXPECT_EQ(IndexOf(shared, 2), -1);
    EXPECT_GE(IndexOf(shared, 3), 0);
    EXPECT_GE(IndexOf(shared, 5), 0);
}

TEST(HtReceiverTable, ANotificationPassReturnsTheFirstNonZeroReplyAndReachesEveryone)
{
    THtReceiverList l = ZeroList();
    Add(l, 1, true);
    Add(l, 2, true);
    Add(l, 3, true);
    int calls = 0;
    TGoneWindows gone{};
    const std::int32_t reply = NotifyReceivers(
        l,
        [&](const THtReceiver& r) {
            ++calls;
            return Delivery{true, r.Window == 1 ? 0 : static_cast<std::int32_t>(r.Window)};
        },
        gone);
    EXPECT_EQ(reply, 2);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(gone.Count, 0);
}

TEST(HtReceiverTable, FirstAttachInstallsLastDetachUninstallsAndAttachInstallsAgain)
{
    THtSharedHookBlock b = ZeroBlock();
    THtReceiverList local = ZeroList();
    FakeSys sys;
    sys.liveWindows = {1, 2};
    EXPECT_EQ(AttachTo(b, local, 1, false, sys), 0);
    EXPECT_NE(b.HookHandle, 0u);
    const std::uint32_t first = b.HookHandle;
    EXPECT_EQ(AttachTo(b, local, 2, true, sys), 0);
    EXPECT_EQ(sys.setHookCalls, 1);
    EXPECT_EQ(AttachTo(b, local, 1, true, sys), -2);
    EXPECT_EQ(b.Receivers.Count, 2);
    EXPECT_EQ(local.Count, 2);

    EXPECT_EQ(DetachFrom(b, local, 7, sys), -3);
    EXPECT_EQ(DetachFrom(b, local, 1, sys), 0);
    EXPECT_EQ(b.HookHandle, first);
    EXPECT_EQ(DetachFrom(b, local, 2, sys), 0);
    EXPECT_EQ(b.HookHandle, 0u);
    EXPECT_EQ(b.Receivers.Count, 0);
    EXPECT_EQ(local.Count, 0);
    EXPECT_TRUE(sys.liveHooks.empty());

    EXPECT_EQ(AttachTo(b, local, 2, false, sys), 0);
    EXPECT_NE(b.HookHandle, 0u);
    EXPECT_EQ(sys.setHookCalls, 2);
}

TEST(HtReceiverTable, TheFullTableRefusesWithoutTouchingEitherList)
{
    THtSharedHookBlock b = ZeroBlock();
    THtReceiverList local = ZeroList();
    FakeSys sys;
    for (std::uint32_t w = 1; w <= 128; ++w)
        sys.liveWindows.insert(w);
    for (std::uint32_t w = 1; w <= 127; ++w)
        ASSERT_EQ(AttachTo(b, local, w, false, sys), 0);
    EXPECT_EQ(AttachTo(b, local, 128, false, sys), -4);
    EXPECT_EQ(b.Receivers.Count, 127);
    EXPECT_EQ(local.Count, 127);
    EXPECT_EQ(IndexOf(b.Receivers, 128), -1);
}

TEST(HtReceiverTable, FailedInstallLeavesTheReceiverWithoutHookAndLaterAttachesDoNotRetry)
{
    THtSharedHookBlock b = ZeroBlock();
    THtReceiverList local = ZeroList();
    FakeSys sys;
    sys.liveWindows = {1, 2};
    sys.failSetHook = true;
    EXPECT_EQ(AttachTo(b, local, 1, false, sys), 1428);
    EXPECT_EQ(b.Receivers.Count, 1);
    EXPECT_EQ(b.HookHandle, 0u);
    EXPECT_EQ(AttachTo(b, local, 2, false, sys), 0);
    EXPECT_EQ(sys.setHookCalls, 1);
}

// A killed program leaves its windows in the table and its (already removed)
// hook in the block.
TEST(HtReceiverTable, AttachAfterAKilledProgramInstallsAFreshHook)
{
    THtSharedHookBlock b = ZeroBlock();
    THtReceiverList killedLocal = ZeroList();
    FakeSys sys;
    sys.liveWindows = {1, 2, 3};
    AttachTo(b, killedLocal, 1, false, sys);
    AttachTo(b, killedLocal, 2, false, sys);
    const std::uint32_t stale = b.HookHandle;
    sys.liveWindows = {};
    sys.liveHooks.clear(); // the system removed the hook with its thread

    THtReceiverList local = ZeroList();
    sys.liveWindows = {9};
    EXPECT_EQ(AttachTo(b, local, 9, false, sys), 0);
    EXPECT_EQ(b.Receivers.Count, 1);
    EXPECT_EQ(b.Receivers.Items[0].Window, 9u);
    EXPECT_NE(b.HookHandle, 0u);
    EXPECT_NE(b.HookHandle, stale);
    EXPECT_EQ(sys.liveHooks.count(b.HookHandle), 1u);
}

TEST(HtReceiverTable, AttachKeepsTheHookWhileLiveReceiversRemain)
{
    THtSharedHookBlock b = ZeroBlock();
    THtReceiverList other = ZeroList();
    FakeSys sys;
    sys.liveWindows = {1, 2, 3};
    AttachTo(b, other, 1, false, sys);
    AttachTo(b, other, 2, false, sys);
    const std::uint32_t hook = b.HookHandle;
    sys.liveWindows.erase(2);
    THtReceiverList local = ZeroList();
    EXPECT_EQ(AttachTo(b, local, 3, false, sys), 0);
    EXPECT_EQ(b.HookHandle, hook);
    EXPECT_EQ(b.Receivers.Count, 2);
    EXPECT_EQ(IndexOf(b.Receivers, 2), -1);
    EXPECT_EQ(sys.setHookCalls, 1);
}

TEST(HtReceiverTable, DetachOfAReceiverAlreadyDroppedStillReleasesAHookThatServesNobody)
{
    THtSharedHookBlock b = ZeroBlock();
    THtReceiverList local = ZeroList();
    FakeSys sys;
    sys.liveWindows = {1};
    AttachTo(b, local, 1, false, sys);
    TGoneWindows gone{};
    NotifyReceivers(
        b.Receivers,
        [](const THtReceiver&) {
            return Delivery{false, 0};
        },
        gone);
    DropGone(b.Receivers, gone);
    ASSERT_EQ(b.Receivers.Count, 0);
    ASSERT_NE(b.HookHandle, 0u);
    EXPECT_EQ(DetachFrom(b, local, 1, sys), -3);
    EXPECT_EQ(local.Count, 0);
    EXPECT_EQ(b.HookHandle, 0u);
    EXPECT_TRUE(sys.liveHooks.empty());
}

TEST(HtReceiverTable, UninstallEmptiesTheTableAndReportsAFailedUnhook)
{
    THtSharedHookBlock b = ZeroBlock();
    FakeSys sys;
    b.HookHandle = 0x4242; // not a live hook
    b.Receivers.Count = 3;
    EXPECT_EQ(UninstallHook(b, sys), 1404);
    EXPECT_EQ(b.HookHandle, 0u);
    EXPECT_EQ(b.Receivers.Count, 0);
    EXPECT_EQ(InstallHook(b, sys), 0);
    EXPECT_EQ(InstallHook(b, sys), -5);
}

TEST(HtReceiverTable, KeyNoticesCarryTheModifiersAndNothingTypedIntoAPasswordField)
{
    const auto chord = KeyboardNotice(0, 0x56, 0x002F0001, {true, true, false, false});
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->WParam, 0x56u | NoticeControlBit | NoticeShiftBit);
    EXPECT_EQ(KeyboardNotice(0, 0x4B, 0, {true, false, true, false})->WParam, 0x4Bu | NoticeControlBit | NoticeAltBit);

    EXPECT_FALSE(KeyboardNotice(0, 0x41, 0x001E0001, {false, false, false, true}));
    EXPECT_FALSE(KeyboardNotice(0, 0x41, 0x001E0001, {false, true, false, true}));
    EXPECT_TRUE(KeyboardNotice(0, 0x56, 0x002F0001, {true, true, false, true})); // a chord is no typed text
    EXPECT_TRUE(IsPasswordField("Edit", 0x50010020));
    EXPECT_TRUE(IsPasswordField("RICHEDIT50W", 0x20));
    EXPECT_FALSE(IsPasswordField("Edit", 0x50010000));
    EXPECT_FALSE(IsPasswordField("EditPlus", 0x20));
    EXPECT_FALSE(IsPasswordField("Button", 0x20)); // the same bit is another style there
}

TEST(HtReceiverTable, PasswordFieldsTellNoAltGrCharacterAndOwnKeysAreNeverTold)
{
    // AltGr (Ctrl+Alt) + Q is "@" on a German keyboard: typed text, kept in.
    TKeyContext altGrAt{true, false, true, true};
    altGrAt.AltGrCharacter = true;
    EXPECT_FALSE(KeyboardNotice(0, 0x51, 0x00100001, altGrAt));
    // Ctrl+Alt+K giving nothing there is a hot key, told as before.
    EXPECT_TRUE(KeyboardNotice(0, 0x4B, 0x00250001, {true, false, true, true}));
    // Alt alone types characters by their codes on the numeric keypad.
    EXPECT_FALSE(KeyboardNotice(0, 0x64, 0x004B0001, {false, false, true, true}));
    // The modifiers themselves are told, so that their state stays known.
    EXPECT_TRUE(KeyboardNotice(0, 0xA2, 0x001D0001, {true, false, false, true}));
    EXPECT_TRUE(KeyboardNotice(0, 0x12, 0xC0380001, {true, false, true, true}));

    // This program's own keys, chords included, reach no receiver.
    TKeyContext own{true, true, false, false};
    own.OwnInput = true;
    EXPECT_FALSE(KeyboardNotice(0, 0x56, 0x002F0001, own));
    EXPECT_FALSE(KeyboardNotice(0, 0x08, 0x000E0001, TKeyContext{false, false, false, false, false, true}));
}

// A password only UI Automation reports (a browser's, WPF's) is published by
// the program: a key typed there is told as from a password field, AltGr
// characters included, without asking the focused control.
TEST(HtReceiverTable, KeysUnderAPublishedPasswordFocusAreToldAsAPasswordFieldsOnly)
{
    int controlAsked = 0;
    auto controlSaysNone = [&] {
        ++controlAsked;
        return false;
    };
    auto told = [&](std::uint64_t vk, bool control, bool alt, std::uint32_t flags, bool altGr) {
        const auto context = KeyContextOf(control, false, alt, flags, controlSaysNone, [&] { return altGr; });
        return KeyboardNotice(0, vk, 0x001E0001, context).has_value();
    };
    const std::uint32_t password = htStatePasswordFocus | htStateQuietMouseMoves;
    EXPECT_FALSE(told('A', false, false, password, false));
    EXPECT_FALSE(told('Q', true, true, password, true)); // AltGr + Q, "@" in German
    EXPECT_TRUE(told('K', true, true, password, false)); // a hot key that types nothing
    EXPECT_TRUE(told(0xA0, false, false, password, false)); // left Shift
    EXPECT_EQ(controlAsked, 0);
    EXPECT_TRUE(told('A', false, false, htStateQuietMouseMoves, false));
    EXPECT_TRUE(told('Q', true, true, htStatePaused, true));
    EXPECT_EQ(controlAsked, 2);
}

TEST(HtReceiverTable, NoticesFollowTheTableOfEvents)
{
    EXPECT_FALSE(KeyboardNotice(3, 0x41, 0, {}));
    const auto k = KeyboardNotice(0, 0x41, 0x001E0001, {});
    ASSERT_TRUE(k);
    EXPECT_EQ(k->Code, 0u);
    EXPECT_EQ(k->WParam, 0x41u);
    EXPECT_EQ(k->LParam, 0x001E0001);

    EXPECT_FALSE(ShellNotice(-1, 0, 0));
    EXPECT_EQ(ShellNotice(4, 77, 1)->Code, 4u);

    EXPECT_FALSE(MouseNotice(3, 0x200, 1, 2, 9));
    const auto m = MouseNotice(0, 0x201, -1, -2, 9);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Code, 0x201u);
    EXPECT_EQ(m->WParam, 0xFFFEFFFFu);
    EXPECT_EQ(m->LParam, 9);

    EXPECT_EQ(CbtNotice(5, 1, 0x1234, 42)->LParam, 42);
    EXPECT_EQ(CbtNotice(6, 0x201, 0x1234, 43)->LParam, 43);
    EXPECT_EQ(CbtNotice(3, 1, 0x1234, 44)->LParam, 0x1234);
    EXPECT_FALSE(CbtNotice(-2, 1, 0, 0));
}

std::string PrefixOf(const std::string& modulePath)
{
    THookObjectName name{};
    if (!HookObjectPrefix(modulePath.c_str(), modulePath.size(), name))
        return "(refused)";
    EXPECT_EQ(name.Text[name.Length], '\0');
    return std::string(name.Text, name.Length);
}

TEST(HtReceiverTable, ObjectNamesComeFromTheLibraryFileName)
{
    EXPECT_EQ(PrefixOf("C:\\Program Files\\Corvane\\Tolvar.dll"), "HT_SYS_HOOK_Tolvar_");
    EXPECT_EQ(PrefixOf("C:\\a.b\\Tolvar"), "HT_SYS_HOOK_Tolvar_");
    EXPECT_EQ(PrefixOf("D:tol.var.DLL"), "HT_SYS_HOOK_tol.var_");
}

// The 32-bit library beside Tolvar.dll is Tolvar32.dll: both must open the
// one published input state, so both name their objects alike.
TEST(HtReceiverTable, TheLibraryFor32BitProgramsNamesItsObjectsAsItsTwinDoes)
{
    EXPECT_EQ(PrefixOf("C:\\Program Files\\Corvane\\Tolvar32.dll"), "HT_SYS_HOOK_Tolvar_");
    EXPECT_EQ(PrefixOf("C:\\Corvane\\Tolvar3.dll"), "HT_SYS_HOOK_Tolvar3_");
    EXPECT_EQ(PrefixOf("C:\\Corvane\\32.dll"), "HT_SYS_HOOK_32_"); // nothing would be left
}

// A host's receivers follow Corvane's table: what was attached there is
// attached here with the same filter setting; what went is let go.
TEST(HtReceiverTable, MirroredReceiversFollowTheTwinTable)
{
    THtSharedHookBlock block = ZeroBlock(); // the 32-bit library's table
    THtReceiverList local = ZeroList();
    FakeSys sys;
    sys.liveWindows = {0x10, 0x20, 0x30};
    auto attach = [&](std::uint32_t w, bool filter) { return AttachTo(block, local, w, filter, sys); };
    auto detach = [&](std::uint32_t w) { return DetachFrom(block, local, w, sys); };

    THtReceiverList wanted = ZeroList();
    Add(wanted, 0x10, true);
    Add(wanted, 0x20, false);
    THtReceiverList mirrored = ZeroList();
    MirrorReceivers(wanted, mirrored, attach, detach);
    ASSERT_EQ(block.Receivers.Count, 2);
    EXPECT_EQ(block.Receivers.Items[IndexOf(block.Receivers, 0x10)].Filter, 1);
    EXPECT_EQ(block.Receivers.Items[IndexOf(block.Receivers, 0x20)].Filter, 0);
    EXPECT_NE(block.HookHandle, 0u);
    const int hooksSet = sys.setHookCalls;

    // Unchanged: nothing is touched.
    MirrorReceivers(wanted, mirrored, attach, detach);
    EXPECT_EQ(sys.setHookCalls, hooksSet);
    EXPECT_EQ(block.Receivers.Count, 2);

    // 0x10 now without filtering, 0x20 gone, 0x30 new.
    wanted = ZeroList();
    Add(wanted, 0x10, false);
    Add(wanted, 0x30, true);
    MirrorReceivers(wanted, mirrored, attach, detach);
    ASSERT_EQ(block.Receivers.Count, 2);
    EXPECT_LT(IndexOf(block.Receivers, 0x20), 0);
    EXPECT_EQ(block.Receivers.Items[IndexOf(block.Receivers, 0x10)].Filter, 0);
    EXPECT_EQ(block.Receivers.Items[IndexOf(block.Receivers, 0x30)].Filter, 1);
    EXPECT_EQ(mirrored.Count, 2);

    // Corvane let go of everything: so does the host, and its hook goes.
    MirrorReceivers(ZeroList(), mirrored, attach, detach);
    EXPECT_EQ(block.Receivers.Count, 0);
    EXPECT_EQ(block.HookHandle, 0u);
    EXPECT_TRUE(sys.liveHooks.empty());
}

// A host that was ended leaves its receivers in the 32-bit table (their
// windows, Corvane's, still live) and a hook that went with its thread. The
// next host must not take "already registered" as served: after a pass that
// lets them go, it sets a fresh hook for all of them.
TEST(HtReceiverTable, ANewHostTakesOverTheTableOfAnEndedOne)
{
    THtSharedHookBlock block = ZeroBlock();
    THtReceiverList endedHostsList = ZeroList();
    FakeSys sys;
    sys.liveWindows = {0x10, 0x20};
    ASSERT_EQ(AttachTo(block, endedHostsList, 0x10, true, sys), 0);
    ASSERT_EQ(AttachTo(block, endedHostsList, 0x20, false, sys), 0);
    sys.liveHooks.clear(); // the ended host's thread took its hook along

    THtReceiverList local = ZeroList();
    auto attach = [&](std::uint32_t w, bool filter) { return AttachTo(block, local, w, filter, sys); };
    auto detach = [&](std::uint32_t w) { return DetachFrom(block, local, w, sys); };
    THtReceiverList wanted = ZeroList();
    Add(wanted, 0x10, true);
    Add(wanted, 0x20, false);
    THtReceiverList mirrored = ZeroList();
    for (int pass = 0; pass < 2; ++pass)
        MirrorReceivers(wanted, mirrored, attach, detach);
    EXPECT_EQ(mirrored.Count, 2);
    EXPECT_EQ(block.Receivers.Count, 2);
    ASSERT_EQ(sys.liveHooks.size(), 1u);
    EXPECT_EQ(block.HookHandle, *sys.liveHooks.begin());
}

// Windows calls the hook of the other bitness's library in the process that
// set it. There an event of another process is the twin's to tell, while the
// twin's hook is set; events of its own windows, and every event while the
// twin serves nobody, are told as before.
TEST(HtReceiverTable, AnEventOfAnotherProcessInTheHookSettingProcessIsLeftToTheTwin)
{
    constexpr std::uint32_t Here = 100, Other = 200;
    EXPECT_TRUE(HeardForTheTwin(true, true, Other, Here));
    EXPECT_FALSE(HeardForTheTwin(true, true, Here, Here)); // its own window
    EXPECT_FALSE(HeardForTheTwin(true, false, Other, Here)); // no host: told here, as before
    EXPECT_FALSE(HeardForTheTwin(false, true, Other, Here)); // inside the program itself
    EXPECT_FALSE(HeardForTheTwin(true, true, 0, Here)); // no window to tell by

    EXPECT_EQ(SubjectOf(hkKeyboard, 0), TEventSubject::Foreground);
    EXPECT_EQ(SubjectOf(hkMouse, 0), TEventSubject::StructWindow);
    EXPECT_EQ(SubjectOf(hkShell, 4), TEventSubject::WParamWindow); // activated
    EXPECT_EQ(SubjectOf(hkShell, 0x8006), TEventSubject::WParamWindow); // flashing
    EXPECT_EQ(SubjectOf(hkShell, 11), TEventSubject::Foreground); // accessibility
    EXPECT_EQ(SubjectOf(hkCBT, 6), TEventSubject::StructWindow); // click skipped
}

// The names are built in a fixed buffer: a name that cannot fit is refused
// whole, never cut or written past the buffer.
TEST(HtReceiverTable, AnObjectNameThatDoesNotFitIsRefused)
{
    const std::string longest(HookObjectNameSize - 1 - std::string("HT_SYS_HOOK__").size(), 'a');
    EXPECT_EQ(PrefixOf("C:\\" + longest + ".dll"), "HT_SYS_HOOK_" + longest + "_");
    EXPECT_EQ(PrefixOf("C:\\" + longest + "a.dll"), "(refused)");

    THookObjectName name{};
    ASSERT_TRUE(HookObjectPrefix("Tolvar.dll", 10, name));
    EXPECT_TRUE(AppendToName(name, "KEYBOARD") && AppendToName(name, "Shared"));
    EXPECT_STREQ(name.Text, "HT_SYS_HOOK_Tolvar_KEYBOARDShared");
    const std::string tooMuch(HookObjectNameSize, 'x');
    EXPECT_FALSE(AppendToName(name, tooMuch.c_str()));
    EXPECT_STREQ(name.Text, "HT_SYS_HOOK_Tolvar_KEYBOARDShared");
}

} // namespace
} // namespace corvane::tolvar
