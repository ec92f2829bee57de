#include "fakes/FakeDesktop.h"

#include <algorithm>

namespace corvane::fakes {

namespace {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Left = 0x25,
              Right = 0x27, Delete = 0x2E, V = 0x56;

// The length of the stop before or after `at`: CR LF is one.
std::size_t StopBefore(const std::string& text, std::size_t at)
{
    return at >= 2 && text.compare(at - 2, 2, "\r\n") == 0 ? 2 : (at >= 1 ? 1 : 0);
}
std::size_t StopAfter(const std::string& text, std::size_t at)
{
    return text.compare(at, 2, "\r\n") == 0 ? 2 : (at < text.size() ? 1 : 0);
}
} // namespace

void FakeDesktop::TypeAtCaret(const std::string& typed)
{
    std::string& text = texts[foreground];
    text.insert(text.size() - caretFromEnd[foreground], typed);
}

bool FakeDesktop::KeyDown(int virtualKey) const
{
    const auto down = [this](int key) { return keys.at(static_cast<size_t>(key & 0xFF)); };
    if (virtualKey >= Shift && virtualKey <= Menu)
        return down(virtualKey) || down(0xA0 + 2 * (virtualKey - Shift)) || down(0xA1 + 2 * (virtualKey - Shift));
    return down(virtualKey);
}

void FakeDesktop::SendKey(int virtualKey, bool release)
{
    sent.emplace_back(virtualKey, release);
    echoed.emplace_back(virtualKey, !release);
    const int sided = virtualKey >= Shift && virtualKey <= Menu ? 0xA0 + 2 * (virtualKey - Shift) : virtualKey;
    keys.at(static_cast<size_t>(sided & 0xFF)) = !release;
    if (release || !texts.count(foreground))
        return;
    std::string& text = texts[foreground];
    std::size_t& fromEnd = caretFromEnd[foreground];
    const std::size_t caret = text.size() - fromEnd;
    const std::size_t before = StopBefore(text, caret);
    const std::size_t after = StopAfter(text, caret);
    if (virtualKey == Back) {
        text.erase(caret - before, before);
    } else if (virtualKey == Delete) {
        fromEnd -= after;
        text.erase(caret, after);
    } else if (virtualKey == Left) {
        fromEnd += before;
    } else if (virtualKey == Right) {
        fromEnd -= after;
    } else if (virtualKey == Tab) {
        TypeAtCaret("\t");
    } else if (virtualKey == Return) {
        TypeAtCaret("\r\n");
    } else if (virtualKey == V && KeyDown(Control) && KeyDown(Shift)) {
        ++ctrlShiftV;
    } else if (virtualKey == V && KeyDown(Control)) {
        TypeAtCaret(clipboard_.ReadText(FactsOf(foreground).process));
    }
}

// Single-byte text stands for the characters of the ANSI code page.
std::size_t FakeDesktop::TypeCharacters(std::u16string_view text)
{
    const std::size_t typed = std::min(text.size(), typeLimit);
    typeLimit -= typed;
    for (std::size_t i = 0; i < typed; ++i)
        if (texts.count(foreground))
            TypeAtCaret(std::string(1, static_cast<char>(text[i])));
    return typed;
}

std::u16string FakeDesktop::ClipboardText() const
{
    std::u16string text;
    for (char c : clipboard_.ReadText(FakeOwnProcess))
        text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
}

int FakeDesktop::PressesOf(int virtualKey) const
{
    int n = 0;
    for (const auto& [key, release] : sent)
        n += key == virtualKey && !release ? 1 : 0;
    return n;
}

} // namespace corvane::fakes
