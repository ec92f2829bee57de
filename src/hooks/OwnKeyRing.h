#pragma once
// The keys the program sends, put in order on a ring that every hooked
// program reads, before they are sent. The hook that meets the next of them
// takes it off and tells nobody: the program the keys go to never waits on a
// call to this program for keys that are its own. Lives in the shared
// input-state block; fixed-width fields only, laid out alike in the 64-bit
// and the 32-bit library. No allocation, no exceptions: the hook library
// links no runtime library.
#include <atomic>
#include <cstdint>

namespace corvane {

constexpr std::uint32_t OwnKeySlots = 64;
// A key not met by then was lost (its program closed, or no hooked program
// got it) and is given up.
constexpr std::uint32_t OwnKeyLostMs = 3000;

struct THtOwnKey {
    std::uint16_t VirtualKey; // as a keyboard hook reports it: Shift, Ctrl and Alt each one key
    std::uint8_t Pressed;
    std::uint8_t Fill;
    std::uint32_t SentAt; // tick count in ms
};

struct THtOwnKeyRing {
    std::uint32_t Written; // keys put on so far; only the program writes them
    std::uint32_t Taken; // keys taken off so far, by the hook that met each, or given up
    THtOwnKey Keys[OwnKeySlots];
};

static_assert(sizeof(THtOwnKey) == 8);
static_assert(sizeof(THtOwnKeyRing) == 8 + 8 * OwnKeySlots);

// Puts a key on the ring, before it is sent; gives its number, which Taken
// passes once the key was met. A full ring gives up its oldest key.
inline std::uint32_t PutOwnKey(THtOwnKeyRing& ring, std::uint16_t key, bool pressed, std::uint32_t now)
{
    std::atomic_ref<std::uint32_t> written(ring.Written);
    std::atomic_ref<std::uint32_t> taken(ring.Taken);
    const std::uint32_t number = written.load(std::memory_order_relaxed);
    for (std::uint32_t t = taken.load(); number - t >= OwnKeySlots; t = taken.load())
        (void)taken.compare_exchange_weak(t, t + 1);
    ring.Keys[number % OwnKeySlots] = {key, static_cast<std::uint8_t>(pressed ? 1 : 0), 0, now};
    written.store(number + 1, std::memory_order_release);
    return number;
}

// In a hook, for a key it meets: true, once, when it is the next key on the
// ring; lost keys before it are given up. A slot read while the program
// overwrote it is never trusted: the overwrite moved Taken on, and taking
// the key off fails.
inline bool TakeOwnKey(THtOwnKeyRing& ring, std::uint16_t key, bool pressed, std::uint32_t now)
{
    std::atomic_ref<std::uint32_t> written(ring.Written);
    std::atomic_ref<std::uint32_t> taken(ring.Taken);
    for (std::uint32_t attempt = 0; attempt < 2 * OwnKeySlots; ++attempt) {
        std::uint32_t t = taken.load(std::memory_order_acquire);
        const std::uint32_t waiting = written.load(std::memory_order_acquire) - t;
        if (waiting == 0 || waiting > OwnKeySlots)
            return false;
        const THtOwnKey next = ring.Keys[t % OwnKeySlots];
        const bool lost = now - next.SentAt > OwnKeyLostMs;
        const bool met = !lost && next.VirtualKey == key && (next.Pressed != 0) == pressed;
        if (!lost && !met)
            return false;
        if (taken.compare_exchange_strong(t, t + 1) && met)
            return true;
    }
    return false;
}

// Whether the key of number `number` is off the ring (met, or given up).
inline bool OwnKeyIsTaken(THtOwnKeyRing& ring, std::uint32_t number)
{
    const std::uint32_t taken = std::atomic_ref<std::uint32_t>(ring.Taken).load(std::memory_order_acquire);
    return static_cast<std::int32_t>(taken - number) > 0;
}

} // namespace corvane
