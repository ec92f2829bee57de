#pragma once
// The local date and time, read once per use, and a steady millisecond count.
#include <cstdint>

namespace corvane {

struct TLocalTime {
    int year = 0, month = 0, day = 0; // month and day from 1
    int hour = 0, minute = 0, second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    [[nodiscard]] virtual TLocalTime Now() const = 0;
    // A steady count of milliseconds, for measuring waits.
    [[nodiscard]] virtual std::uint64_t Milliseconds() const = 0;
};

} // namespace corvane
