#include "engine/OwnKeys.h"

namespace corvane {

int KeyAsHookReports(int virtualKey)
{
    constexpr int VkShift = 0x10, VkLShift = 0xA0, VkRMenu = 0xA5;
    return virtualKey >= VkLShift && virtualKey <= VkRMenu ? VkShift + (virtualKey - VkLShift) / 2 : virtualKey;
}

void TOwnKeysDesktop::NoteSent(int virtualKey, bool release)
{
    const int key = KeyAsHookReports(virtualKey);
    const std::uint64_t now = clock_.Milliseconds();
    std::optional<std::uint32_t> onRing;
    if (ring_ != nullptr)
        onRing = PutOwnKey(*ring_, static_cast<std::uint16_t>(key), !release, static_cast<std::uint32_t>(now));
    sent_.push_back({key, !release, now, onRing});
}

void TOwnKeysDesktop::SendKey(int virtualKey, bool release)
{
    NoteSent(virtualKey, release);
    desktop_.SendKey(virtualKey, release);
}

void TOwnKeysDesktop::SendKeys(std::span<const TKeyEvent> keys)
{
    // All on the ring before the first can reach a program.
    for (const TKeyEvent& key : keys)
        NoteSent(key.virtualKey, key.release);
    desktop_.SendKeys(keys);
}

bool TOwnKeysDesktop::NoLongerAwaited(const TSent& sent) const
{
    return clock_.Milliseconds() - sent.at > OwnKeyEchoMs
        || (ring_ != nullptr && sent.onRing && OwnKeyIsTaken(*ring_, *sent.onRing));
}

void TOwnKeysDesktop::ForgetLostKeys()
{
    while (!sent_.empty() && NoLongerAwaited(sent_.front()))
        sent_.pop_front();
}

bool TOwnKeysDesktop::AllEchoed() const
{
    // Keys are sent, and taken off the ring, in order: the last one no
    // longer awaited, none is.
    return sent_.empty() || NoLongerAwaited(sent_.back());
}

std::optional<std::uint32_t> TOwnKeysDesktop::LastOnRing() const
{
    return sent_.empty() ? std::nullopt : sent_.back().onRing;
}

bool TOwnKeysDesktop::IsEchoOfOwnKey(int virtualKey, bool pressed)
{
    ForgetLostKeys();
    if (sent_.empty() || sent_.front().key != KeyAsHookReports(virtualKey) || sent_.front().pressed != pressed)
        return false;
    sent_.pop_front();
    return true;
}

} // namespace corvane
