#pragma once
// Reads a fuzzer's bytes as a stream of small decisions. Past the end every
// read yields zero or empty, so a short input is a valid, short run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <string_view>

namespace corvane::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) { }

    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // 0 .. bound-1.
    unsigned Below(unsigned bound) { return bound == 0 ? 0 : Byte() % bound; }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
    // Bytes up to (not including) `end`, or to the end of the input.
    std::string Until(char end)
    {
        std::string out;
        while (at_ < size_) {
            const char c = static_cast<char>(data_[at_++]);
            if (c == end)
                break;
            out += c;
        }
        return out;
    }
    // A short text of at most `max` bytes, its length read first.
    std::string Text(unsigned max)
    {
        const unsigned n = Below(max + 1);
        std::string out;
        for (unsigned i = 0; i < n && at_ < size_; ++i)
            out += static_cast<char>(data_[at_++]);
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A broken property: say which and stop, so libFuzzer saves the input.
[[noreturn]] inline void Fail(const char* what, std::string_view detail = {})
{
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n%.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void Check(bool holds, const char* what, std::string_view detail = {})
{
    if (!holds)
        Fail(what, detail);
}

} // namespace corvane::fuzz
