#pragma once
// What the expansion engine asks of the desktop: the physical key state,
// the windows of other programs and synthesised keystrokes.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// A window handle as a number; 0 is no window.
using WindowId = std::uintptr_t;

// Hook notifications carry window handles as 32-bit values; handles are
// sign-extended back, as the system does when it narrows them.
inline WindowId WindowFromNotice(std::uint32_t value)
{
    return static_cast<WindowId>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

struct TModifiers {
    bool control = false;
    bool alt = false;
    bool shift = false;
};

// What a key gives in a keyboard layout.
struct TKeyTranslation {
    enum class Kind {
        Unavailable, // no layout to ask
        None, // no character (a function key, Ctrl+letter)
        Character,
        DeadKey, // an accent that waits for the next key
    };
    Kind kind = Kind::Unavailable;
    char16_t character = 0;
};

// What the system tells of a window.
struct TWindowFacts {
    WindowId rootOwner = 0; // the top of its parent and owner chain; 0 when unknown
    std::string className;
    bool toolWindow = false; // a floating toolbar or palette, not on the taskbar
    bool ownProcess = false; // one of this program's windows
    std::uint32_t process = 0; // the id of the program it belongs to; 0 when unknown
};

// One synthesised key event: a key pressed or let go.
struct TKeyEvent {
    int virtualKey;
    bool release;
};

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // True while the key is physically down.
    [[nodiscard]] virtual bool KeyDown(int virtualKey) const = 0;
    [[nodiscard]] virtual WindowId ForegroundWindow() const = 0;
    // The window with the keyboard focus in the foreground program; 0 when unknown.
    [[nodiscard]] virtual WindowId FocusWindow() const = 0;
    [[nodiscard]] virtual bool IsWindow(WindowId window) const = 0;
    // The file of the program the window belongs to (a full path or a bare
    // file name); empty for this program's own windows and when unknown.
    [[nodiscard]] virtual std::string ProgramFileOf(WindowId window) const = 0;
    [[nodiscard]] virtual TWindowFacts FactsOf(WindowId window) const = 0;
    // The file name of the program the window belongs to when that program
    // runs with more rights than this one (as administrator), whose windows
    // the system keeps synthesised input from; empty otherwise.
    [[nodiscard]] virtual std::string ElevatedProgramOf(WindowId window) const = 0;
    // The key as the keyboard layout of the foreground window's thread reads
    // it with these modifiers, leaving that layout's dead-key state alone.
    [[nodiscard]] virtual TKeyTranslation TranslateKey(
        int virtualKey, int scanCode, const TModifiers& modifiers) const = 0;
    // The element with the keyboard focus, in whatever program, is reported
    // as a password (beyond the edit controls the hook library knows itself).
    [[nodiscard]] virtual bool FocusHidesTyping() const = 0;
    // One synthesised key event for the window with the keyboard focus.
    virtual void SendKey(int virtualKey, bool release) = 0;
    // Key events that reach the window with the keyboard focus together,
    // with no key of the user's between them.
    virtual void SendKeys(std::span<const TKeyEvent> keys)
    {
        for (const TKeyEvent& key : keys)
            SendKey(key.virtualKey, key.release);
    }
    // The characters as keystrokes of their own, whatever the keyboard
    // layout, for the window with the keyboard focus; how many were sent.
    [[nodiscard]] virtual std::size_t TypeCharacters(std::u16string_view text) = 0;
    // The plain text on the clipboard; empty when there is none or it is held.
    [[nodiscard]] virtual std::u16string ClipboardText() const = 0;
    virtual void SetForeground(WindowId window) = 0;
    // A left click where the pointer stands.
    virtual void ClickAtPointer() = 0;
    // Blocks the calling thread.
    virtual void Pause(int milliseconds) = 0;
};

} // namespace corvane
