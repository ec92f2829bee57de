#include "fakes/FakeDesktop.h"

#include <algorithm>

namespace corvane::fakes {

namespace {
constexpr int Back = 0x08, Control = 0x11, V = 0x56;
}

void FakeDesktop::SendKey(int virtualKey, bool release)
{
    sent.emplace_back(virtualKey, release);
    echoed.emplace_back(virtualKey, !release);
    if (virtualKey == Control)
        controlHeld_ = !release;
    if (release || !texts.count(foreground))
        return;
    std::string& text = texts[foreground];
    if (virtualKey == Back && !text.empty())
        text.pop_back();
    else if (virtualKey == V && controlHeld_)
        text += clipboard_.ReadText(FactsOf(foreground).process);
}

// Single-byte text stands for the characters of the ANSI code page.
std::size_t FakeDesktop::TypeCharacters(std::u16string_view text)
{
    const std::size_t typed = std::min(text.size(), typeLimit);
    typeLimit -= typed;
    for (std::size_t i = 0; i < typed; ++i)
        if (texts.count(foreground))
            texts[foreground] += static_cast<char>(text[i]);
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
