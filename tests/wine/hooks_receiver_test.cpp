// Keys typed into another program while this program's window thread is
// stalled (an event handler that sleeps, as a slow library load or a share
// that does not answer would): measured in the typing program, on its own
// clock, with the keyboard receiver on the window thread as before and on a
// receiver thread of its own. Its own program: the receiver thread, once
// started, stays for the life of the process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "hooks/HtSysHookComp.h"
#include "win32/HtSysHookHost.h"
#include "hooks_peer_client.h"

namespace corvane {
namespace {

constexpr UINT Typed = VK_F13; // passes on to the program
constexpr UINT Taken = VK_F14; // taken from it, as a chord is
constexpr DWORD StallMs = 3000;

std::string BinDir() { return ExeDir().substr(0, ExeDir().find_last_of('\\', ExeDir().size() - 2) + 1); }

// A figure the peer printed: "seen=.. max_ms=.. median_ms=..".
double Field(const std::string& line, const std::string& name)
{
    const auto at = line.find(name + "=");
    return at == std::string::npos ? -1.0 : std::stod(line.substr(at + name.size() + 1));
}

void PumpUntil(const int& counter, int target, DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (counter<target&& static_cast<int>(end - GetTickCount())> 0)
        Pump(5);
}

// The keyboard receiver as the main window has it: filtering, deciding on
// Taken, and an event handler that sleeps on the first key it hears when
// told to stall.
struct Receiver {
    THtKeyboardHook key{win32::HookHost()};
    bool stall = false;
    int heard = 0; // Typed notifications, down and up
    DWORD stallFrom = 0, stallTo = 0; // system ticks
    int heardTaken = 0;

    explicit Receiver(bool stallOnFirstKey) : stall(stallOnFirstKey)
    {
        key.SetHookDLL(BinDir() + "Tolvar");
        key.SetAllowFiltering(true);
        key.OnKeyFilter = [](const THtKeyStroke& k) { return k.VirtualKeyCode == static_cast<int>(Taken); };
        key.OnKeyAction
            = [this](THtSysHook&, std::int32_t vk, std::uint16_t, std::uint8_t, bool, bool, bool, bool, bool& filter) {
                  if (vk == static_cast<int>(Taken) && filter)
                      ++heardTaken;
                  if (vk != static_cast<int>(Typed))
                      return;
                  ++heard;
                  if (stall) {
                      stall = false;
                      stallFrom = GetTickCount();
                      Sleep(StallMs);
                      stallTo = GetTickCount();
                  }
              };
    }
};

struct Figures {
    std::string typed; // the peer's figures for the Typed keys
    int heard = 0;
    DWORD stallFrom = 0, stallTo = 0;
    std::string taken; // the peer's figures for the Taken keys, afterwards
    int heardTaken = 0;
};

// Typed events while the handler sleeps (or not), then, afterwards, a key
// the receiver takes.
Figures TypeIntoPeer(Peer& peer, bool stall, int events, int gapMs)
{
    Receiver receiver(stall);
    Figures f;
    EXPECT_EQ(receiver.key.Start(), "");
    f.typed = peer.Ask(
        "keys " + std::to_string(Typed) + " " + std::to_string(events) + " " + std::to_string(gapMs) + " 8000");
    PumpUntil(receiver.heard, events, StallMs + 5000);
    f.heard = receiver.heard;
    f.stallFrom = receiver.stallFrom;
    f.stallTo = receiver.stallTo;
    f.taken = peer.Ask("keys " + std::to_string(Taken) + " 2 0 400");
    PumpUntil(receiver.heardTaken, 2, 3000);
    f.heardTaken = receiver.heardTaken;
    receiver.key.Stop();
    return f;
}

void Print(const char* label, const Figures& f)
{
    std::printf("figure %s: %s heard=%d stall_ticks=%lu-%lu taken_afterwards: %s heard=%d\n", label, f.typed.c_str(),
        f.heard, f.stallFrom, f.stallTo, f.taken.c_str(), f.heardTaken);
    std::fflush(stdout);
}

TEST(ReceiverThread, AStalledWindowThreadHoldsUpNoKeyInAnotherProgramAndKeysAreStillTakenAfterwards)
{
    Peer peer;
    ASSERT_TRUE(peer.Started());

    // Before: the listener on the window thread. While the handler sleeps,
    // every key in the other program waits for the hook's time-out.
    const Figures onWindowThread = TypeIntoPeer(peer, true, 10, 0);
    Print("window-thread-stalled", onWindowThread);
    EXPECT_GE(Field(onWindowThread.typed, "max_ms"), 400.0) << "the stall did not hold the window thread";

    win32::UseReceiverThread({[](const THtKeyStroke& k) {
                                  return TGateVerdict{k.VirtualKeyCode == static_cast<int>(Taken), true};
                              },
        nullptr});
    const Figures baseline = TypeIntoPeer(peer, false, 30, 50);
    Print("receiver-thread-idle", baseline);
    const Figures stalled = TypeIntoPeer(peer, true, 30, 50);
    Print("receiver-thread-stalled", stalled);
    std::printf("figure ratio stalled/idle longest wait: %.2f\n",
        Field(stalled.typed, "max_ms") / std::max(0.1, Field(baseline.typed, "max_ms")));

    // Every key reached the program, none waited for the sleeping handler,
    // which was still asleep when the typing was over.
    EXPECT_EQ(Field(stalled.typed, "seen"), 30.0);
    // A third of the stall: far above a loaded machine's scheduling noise,
    // far below a key that waited for the sleeping handler.
    EXPECT_LT(Field(stalled.typed, "max_ms"), StallMs / 3.0);
    EXPECT_GT(stalled.stallFrom, 0u);
    EXPECT_LE(Field(stalled.typed, "to_tick"), static_cast<double>(stalled.stallTo))
        << "the typing was not over while the handler slept";
    // The window thread heard all of them later, in order, and the receiver
    // still answers: the key it takes never reaches the program.
    EXPECT_EQ(stalled.heard, 30);
    EXPECT_EQ(Field(stalled.taken, "seen"), 0.0);
    EXPECT_EQ(stalled.heardTaken, 2);
    EXPECT_EQ(Field(baseline.typed, "seen"), 30.0);
}

} // namespace
} // namespace corvane
