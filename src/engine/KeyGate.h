#pragma once
// The answer to a program that waits in its keyboard hook: take the key
// away from it or let it pass, and whether the engine hears of the key.
// Given on the receiver thread at once, from state the main window
// publishes; it never waits for the main window, which hears of the keys
// later, in order, through its message queue.
#include <mutex>
#include <string>

#include "engine/Recogniser.h"
#include "hooks/HtSysHookCommon.h"
#include "hooks/HtSysHookDecode.h"

namespace corvane {

class IDesktop;

// What the main window publishes; a copy is taken, so the main window may
// change its own at will.
struct TGateState {
    bool armed = false; // another application is active
    bool paused = false;
    bool pickerEnabled = false;
    std::string excludedPrograms; // the setting as stored
    THotKeyCodes hotKeyCodes;
};

// The flags every hooked program reads: no key at all is told while paused;
// nobody here listens to mouse moves, so they are not told either.
inline std::uint32_t PublishedInputFlags(const TGateState& state)
{
    return (state.paused ? htStatePaused : 0u) | htStateQuietMouseMoves;
}

struct TGateVerdict {
    bool take = false; // kept from the program the key was typed into
    bool tell = true; // the engine hears of it
};

class TKeyGate {
public:
    // `desktop` is asked for the foreground's program only, from the
    // receiver thread.
    explicit TKeyGate(const IDesktop& desktop) : desktop_(desktop) { }
    TKeyGate(const TKeyGate&) = delete;
    TKeyGate& operator=(const TKeyGate&) = delete;

    // Any thread.
    void Publish(TGateState state);
    // The receiver thread, for each key the hook tells.
    [[nodiscard]] TGateVerdict Decide(const THtKeyStroke& key);

private:
    [[nodiscard]] bool StaysOut() const;

    const IDesktop& desktop_;
    std::mutex mutex_;
    TGateState state_;
};

} // namespace corvane
