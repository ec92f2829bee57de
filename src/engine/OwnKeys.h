#pragma once
// The keys the engine sends come back through the keyboard hook like the
// user's. A desktop that passes everything on to the real one and remembers
// each key it sent tells them apart: the notices of those keys arrive in the
// order they were sent, soon after. With the hook library's ring, each key
// is put on it first and the hooked program that meets it takes it off and
// tells nothing: such a key is no longer waited for once it is off.
#include <cstdint>
#include <deque>
#include <optional>

#include "hooks/OwnKeyRing.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

namespace corvane {

// How long a sent key is waited for; a target that never took it (closed,
// hung) must not leave the user's next keys taken for ours.
inline constexpr std::uint64_t OwnKeyEchoMs = 3000;

// A key as the keyboard hook reports it: left and right Shift, Ctrl and Alt
// each as the one key.
int KeyAsHookReports(int virtualKey);

class TOwnKeysDesktop final : public IDesktop {
public:
    TOwnKeysDesktop(IDesktop& desktop, const IClock& clock) : desktop_(desktop), clock_(clock) { }

    // The ring of the hook library, shared with every hooked program; null:
    // every key's notice comes back here.
    void UseRing(THtOwnKeyRing* ring) { ring_ = ring; }
    [[nodiscard]] bool HookTakesOwnKeys() const { return ring_ != nullptr; }
    // True, once, when a key notice is that of the next key this program sent.
    [[nodiscard]] bool IsEchoOfOwnKey(int virtualKey, bool pressed);
    // Every key sent so far came back (or was given up): a key noticed now
    // was struck after them.
    [[nodiscard]] bool AllEchoed() const;
    // The number on the ring of the last key sent, when it is there.
    [[nodiscard]] std::optional<std::uint32_t> LastOnRing() const;

    bool KeyDown(int virtualKey) const override { return desktop_.KeyDown(virtualKey); }
    WindowId ForegroundWindow() const override { return desktop_.ForegroundWindow(); }
    WindowId FocusWindow() const override { return desktop_.FocusWindow(); }
    bool FocusHidesTyping() const override { return desktop_.FocusHidesTyping(); }
    bool IsWindow(WindowId window) const override { return desktop_.IsWindow(window); }
    std::string ProgramFileOf(WindowId window) const override { return desktop_.ProgramFileOf(window); }
    TWindowFacts FactsOf(WindowId window) const override { return desktop_.FactsOf(window); }
    std::string ElevatedProgramOf(WindowId window) const override { return desktop_.ElevatedProgramOf(window); }
    TKeyTranslation TranslateKey(int virtualKey, int scanCode, const TModifiers& modifiers) const override
    {
        return desktop_.TranslateKey(virtualKey, scanCode, modifiers);
    }
    void SendKey(int virtualKey, bool release) override;
    void SendKeys(std::span<const TKeyEvent> keys) override;
    std::size_t TypeCharacters(std::u16string_view text) override { return desktop_.TypeCharacters(text); }
    std::u16string ClipboardText() const override { return desktop_.ClipboardText(); }
    void SetForeground(WindowId window) override { desktop_.SetForeground(window); }
    void ClickAtPointer() override { desktop_.ClickAtPointer(); }
    void Pause(int milliseconds) override { desktop_.Pause(milliseconds); }

private:
    void ForgetLostKeys();
    // Puts the key on the ring, when there is one, and remembers it as sent.
    void NoteSent(int virtualKey, bool release);

    struct TSent {
        int key; // left and right modifiers as the hook reports them: Shift, Ctrl, Alt
        bool pressed;
        std::uint64_t at;
        std::optional<std::uint32_t> onRing; // its number there
    };
    // Lost (never came back in time), or taken off the ring by a hooked program.
    [[nodiscard]] bool NoLongerAwaited(const TSent& sent) const;

    IDesktop& desktop_;
    const IClock& clock_;
    THtOwnKeyRing* ring_ = nullptr;
    std::deque<TSent> sent_;
};

} // namespace corvane
