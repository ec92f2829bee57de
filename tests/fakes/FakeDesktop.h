#pragma once
// A desktop with a 256-key state table and other programs' windows, each
// holding the text of its edit box. Synthesised keys act on the foreground
// window as a text box would, at its caret: Backspace and Delete erase, Left
// and Right move, Tab and Enter type, Ctrl+V pastes the clipboard's plain
// text; a line break (CR LF) is one stop for all of them. Every synthesised
// key is also queued as the notification the keyboard hook would post back.
#include "fakes/FakeClipboard.h"
#include "fakes/FakeKeyboardLayouts.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace corvane::fakes {

class FakeDesktop : public IDesktop {
public:
    explicit FakeDesktop(FakeClipboard& clipboard) : clipboard_(clipboard) { }

    // Shift, Ctrl and Alt are down while either of their keys is.
    bool KeyDown(int virtualKey) const override;
    WindowId ForegroundWindow() const override { return foreground; }
    WindowId FocusWindow() const override { return focus.count(foreground) ? focus.at(foreground) : foreground; }
    bool IsWindow(WindowId window) const override { return texts.count(window) != 0; }
    std::string ProgramFileOf(WindowId window) const override
    {
        const auto found = programs.find(window);
        return found != programs.end() ? found->second : std::string();
    }
    // A window nobody described is a top-level window of another program, one program each.
    TWindowFacts FactsOf(WindowId window) const override
    {
        const auto found = facts.find(window);
        if (found != facts.end())
            return found->second;
        TWindowFacts stranger;
        stranger.rootOwner = window;
        stranger.process = ProcessOf(window);
        return stranger;
    }
    std::string ElevatedProgramOf(WindowId window) const override
    {
        const auto found = elevated.find(window);
        return found != elevated.end() ? found->second : std::string();
    }
    TKeyTranslation TranslateKey(int virtualKey, int, const TModifiers& modifiers) const override
    {
        return layout ? layout->Translate(virtualKey, modifiers) : TKeyTranslation{};
    }
    bool FocusHidesTyping() const override { return passwordFocus; }
    void SendKey(int virtualKey, bool release) override;
    void SendKeys(std::span<const TKeyEvent> keys) override
    {
        batches.push_back(keys.size());
        IDesktop::SendKeys(keys);
    }
    // Characters beyond `typeLimit` are refused, as a system that blocks input does.
    std::size_t TypeCharacters(std::u16string_view text) override;
    std::u16string ClipboardText() const override;
    void SetForeground(WindowId window) override { foreground = window; }
    void Pause(int milliseconds) override { pausedMs += milliseconds; }
    void ClickAtPointer() override { ++clicks; }

    // A window of another program, made the foreground.
    WindowId OpenWindow(WindowId window)
    {
        texts[window];
        foreground = window;
        return window;
    }
    void CloseWindow(WindowId window) { texts.erase(window); }
    std::string& TextOf(WindowId window) { return texts[window]; }
    // Where the caret stands in the window's text, as a byte offset.
    std::size_t CaretOf(WindowId window) { return texts[window].size() - caretFromEnd[window]; }
    // A character typed at the caret.
    void TypeAtCaret(const std::string& text);
    // The program a window nobody described belongs to.
    static std::uint32_t ProcessOf(WindowId window) { return static_cast<std::uint32_t>(window) + 0x100; }
    // The key presses among the synthesised events.
    int PressesOf(int virtualKey) const;

    std::array<bool, 256> keys{};
    WindowId foreground = 0;
    std::map<WindowId, std::string> texts;
    std::map<WindowId, std::size_t> caretFromEnd; // how far before the end of the text the caret stands
    std::map<WindowId, WindowId> focus; // the focused control of a window; the window itself when not told
    std::map<WindowId, std::string> programs; // the program file of each window
    std::map<WindowId, TWindowFacts> facts;
    std::map<WindowId, std::string> elevated; // windows of programs run as administrator
    // The key state, as the physical keys and the synthesised ones left it;
    // the generic Shift, Ctrl and Alt sent stand for the left keys, as the
    // system takes them.
    std::vector<std::pair<int, bool>> sent; // (virtual key, release)
    std::vector<std::size_t> batches; // how many key events each SendKeys sent in one go
    bool passwordFocus = false; // the focus is reported as a password
    int ctrlShiftV = 0; // Ctrl+V that arrived with Shift, which pastes nothing
    std::vector<std::pair<int, bool>> echoed; // notifications not yet handled
    const FakeLayout* layout = nullptr; // none: no layout can be asked
    std::size_t typeLimit = static_cast<std::size_t>(-1);
    int pausedMs = 0;
    int clicks = 0;

private:
    FakeClipboard& clipboard_;
};

class FakeClock : public IClock {
public:
    TLocalTime Now() const override { return now; }
    std::uint64_t Milliseconds() const override { return milliseconds; }
    TLocalTime now{2026, 12, 7, 14, 5, 9};
    std::uint64_t milliseconds = 1000;
};

} // namespace corvane::fakes
