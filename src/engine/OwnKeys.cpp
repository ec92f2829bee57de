#include "engine/OwnKeys.h"

namespace corvane {

namespace {

// The keyboard hook reports either Shift, Ctrl or Alt key as the one key.
int AsReported(int virtualKey)
{
    constexpr int VkShift = 0x10, VkLShift = 0xA0, VkRMenu = 0xA5;
    return virtualKey >= VkLShift && virtualKey <= VkRMenu ? VkShift + (virtualKey - VkLShift) / 2 : virtualKey;
}

} // namespace

void TOwnKeysDesktop::SendKey(int virtualKey, bool release)
{
    const int key = AsReported(virtualKey);
    const std::uint64_t now = clock_.Milliseconds();
    std::optional<std::uint32_t> onRing;
    if (ring_ != nullptr)
        onRing = PutOwnKey(*ring_, static_cast<std::uint16_t>(key), !release, static_cast<std::uint32_t>(now));
    sent_.push_back({key, !release, now, onRing});
    desktop_.SendKey(virtualKey, release);
}

bool TOwnKeysDesktop::TakenByTheHook(const TSent& sent) const
{
    return ring_ != nullptr && sent.onRing && OwnKeyIsTaken(*ring_, *sent.onRing);
}

void TOwnKeysDesktop::ForgetLostKeys()
{
    const std::uint64_t now = clock_.Milliseconds();
    while (!sent_.empty() && (now - sent_.front().at > OwnKeyEchoMs || TakenByTheHook(sent_.front())))
        sent_.pop_front();
}

bool TOwnKeysDesktop::AllEchoed() const
{
    // The ring is taken off in order: the last key off, all are.
    return sent_.empty() || clock_.Milliseconds() - sent_.back().at > OwnKeyEchoMs || TakenByTheHook(sent_.back());
}

std::optional<std::uint32_t> TOwnKeysDesktop::LastOnRing() const
{
    return sent_.empty() ? std::nullopt : sent_.back().onRing;
}

bool TOwnKeysDesktop::IsEchoOfOwnKey(int virtualKey, bool pressed)
{
    ForgetLostKeys();
    if (sent_.empty() || sent_.front().key != AsReported(virtualKey) || sent_.front().pressed != pressed)
        return false;
    sent_.pop_front();
    return true;
}

} // namespace corvane
