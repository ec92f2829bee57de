#include "fakes/FakeDesktop.h"

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
        text += clipboard_.text;
}

int FakeDesktop::PressesOf(int virtualKey) const
{
    int n = 0;
    for (const auto& [key, release] : sent)
        n += key == virtualKey && !release ? 1 : 0;
    return n;
}

} // namespace corvane::fakes
