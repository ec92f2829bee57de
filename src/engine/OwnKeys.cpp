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
    sent_.push_back({AsReported(virtualKey), !release, clock_.Milliseconds()});
    desktop_.SendKey(virtualKey, release);
}

void TOwnKeysDesktop::ForgetLostKeys()
{
    const std::uint64_t now = clock_.Milliseconds();
    while (!sent_.empty() && now - sent_.front().at > OwnKeyEchoMs)
        sent_.pop_front();
}

bool TOwnKeysDesktop::AllEchoed() const
{
    return sent_.empty() || clock_.Milliseconds() - sent_.back().at > OwnKeyEchoMs;
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
