#pragma once
// The answer to a program that waits in its keyboard hook: take the key
// away from it or let it pass, and whether the engine hears of the key.
// Given on the receiver thread at once, from state the main window
// publishes; it never waits for the main window, which hears of the keys
// later, in order, through its message queue.
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Recogniser.h"
#include "platform/Desktop.h"
#include "hooks/HtSysHookCommon.h"
#include "hooks/OwnKeyRing.h"
#include "hooks/HtSysHookDecode.h"

namespace corvane {

class IDesktop;

// A macro's stem as the gate compares it: in lower case.
std::string MacroStemKey(std::string_view macro);

// What the main window publishes; a copy is taken, so the main window may
// change its own at will.
struct TGateState {
    bool armed = false; // another application is active
    bool paused = false;
    bool pickerEnabled = false;
    bool endKeysTabEnter = false; // Tab and Enter end a macro as the space does
    std::string excludedPrograms; // the setting as stored
    THotKeyCodes hotKeyCodes;
    // Every macro's stem (before its parameters), in lower case.
    std::set<std::string> macroStems;
};

// The flags every hooked program reads: no key at all is told while paused;
// nobody here listens to mouse moves, so they are not told either.
inline std::uint32_t PublishedInputFlags(const TGateState& state)
{
    return (state.paused ? htStatePaused : 0u) | htStateQuietMouseMoves;
}

// Writes the input state every hooked program reads, from two threads: the
// main window's (the flags above and the programs kept out) and the focus
// watcher's (whether the focus is a password). One write at a time, each
// with the latest of both; nothing is written before the main window's
// first state, nor while it says the hooks are not running.
class TInputStatePublisher {
public:
    using Write = std::function<void(std::uint32_t flags, const std::string& excludedPrograms)>;
    explicit TInputStatePublisher(Write write) : write_(std::move(write)) { }

    void PublishState(std::uint32_t flags, std::string excludedPrograms, bool hooksRunning);
    void PublishPasswordFocus(bool password);

private:
    void WriteLocked() const;

    Write write_;
    std::mutex mutex_;
    std::uint32_t flags_ = 0;
    std::string excluded_;
    bool writable_ = false;
    bool password_ = false;
};

struct TGateVerdict {
    bool take = false; // kept from the program the key was typed into
    bool tell = true; // the engine hears of it
    // Set on a space that may complete a macro: the keys typed after it are
    // held back under this number until the engine ends the hold.
    std::uint8_t holdId = 0;
    // Held keys to send on now, after this one.
    std::vector<THtKeyStroke> sendOn;
};

// Held keys go on only when this key's release, sent after the delivery's
// own keys, comes through: every key the user typed before it was held by
// then, and the held keys land behind the reply, in order. The key is
// unassigned, so no program reads it.
inline constexpr int HoldFenceKey = 0x88;

// How often a hold is looked at: one the engine has not claimed by then
// (it may be busy) ends, and the macro stays as typed.
inline constexpr unsigned HoldLimitMs = 1500;

// What the receiver thread does at a look at a hold.
struct THoldCheck {
    bool over = true; // no more looks
    bool sendFence = false;
    std::vector<THtKeyStroke> sendOn; // the fence never came: sent on as they are
};

// The keys a user typed after the space of a macro, held back from their
// program until the reply is in.
class IHeldKeys {
public:
    virtual ~IHeldKeys() = default;
    // Before the macro is erased: false when the keys went on already.
    [[nodiscard]] virtual bool ClaimHold(std::uint8_t id) = 0;
    // After the paste was sent, or when there is none: the keys go on.
    virtual void ReleaseHold(std::uint8_t id) = 0;
    // Whether a plain Backspace takes the last expansion back, while the
    // focus stays where it was made; with `afterOwnKey`, only once that key
    // of the engine's is off the ring of its keys (a Backspace met before
    // it was struck before the expansion's keys).
    virtual void PublishUndoChance(
        bool open, WindowId foreground, WindowId focus, std::optional<std::uint32_t> afterOwnKey)
        = 0;
    // Backspaces of the engine's own, sent while the user's may be down.
    virtual void ExpectOwnBackspaces(int count) = 0;
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

    // The engine, before it erases the macro of hold `id`: true when the
    // keys typed after it are still held, and stay so until it ends the
    // hold. False when they went on or are going: erasing would erase them.
    [[nodiscard]] bool ClaimHold(std::uint8_t id);
    // The engine is done with hold `id`: true when the fence is to be sent.
    [[nodiscard]] bool EndHoldAtFence(std::uint8_t id);
    // The receiver thread, every HoldLimitMs while hold `id` is on.
    [[nodiscard]] THoldCheck CheckHold(std::uint8_t id);
    // The engine, after each key: a plain Backspace takes the last expansion
    // back while the focus is where it was made.
    void SetUndoChance(bool open, WindowId foreground, WindowId focus, std::optional<std::uint32_t> afterOwnKey);
    // The hook library's ring of the engine's keys, which hooked programs
    // take off themselves (null: none).
    void UseOwnKeyRing(THtOwnKeyRing* ring);
    // The engine, before it sends Backspaces of its own.
    void ExpectOwnBackspaces(int count);
    // Any thread: while the focus is a password, nothing typed is kept, not
    // even as the guess for holding.
    void SetPasswordFocus(bool password);

private:
    [[nodiscard]] bool StaysOut() const;
    [[nodiscard]] bool MayCompleteMacro() const;
    [[nodiscard]] TGateVerdict Hold(const THtKeyStroke& key);
    void FollowTyping(const THtKeyStroke& key, TGateVerdict& verdict);
    [[nodiscard]] bool TakesBackspace(const THtKeyStroke& key);
    [[nodiscard]] bool EndsMacro(const THtKeyStroke& key) const;
    void BeginHold(TGateVerdict& verdict);
    [[nodiscard]] std::vector<THtKeyStroke> EndHold();

    const IDesktop& desktop_;
    std::mutex mutex_;
    TGateState state_;
    std::string typed_; // as the keys' US characters give it: only a guess for holding
    bool passwordFocus_ = false;
    std::uint8_t holdId_ = 0; // of the hold on, 0 for none
    std::uint8_t lastHoldId_ = 0;
    bool claimed_ = false;
    int fenceChecks_ = -1; // looks since the fence was sent; -1: not sent
    std::vector<THtKeyStroke> held_;
    std::set<int> heldDown_; // keys whose press was held: their release is too
    bool undoChance_ = false;
    WindowId undoForeground_ = 0;
    WindowId undoFocus_ = 0;
    std::optional<std::uint32_t> undoAfterOwnKey_;
    THtOwnKeyRing* ownKeyRing_ = nullptr;
    bool backspaceTaken_ = false; // for an undo, and not let go yet: its repeats are taken too
    int ownBackspaceDowns_ = 0; // the engine's, on their way
    int ownBackspaceUps_ = 0;
};

} // namespace corvane
