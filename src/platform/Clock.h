#pragma once
// The local date and time, read once per use.
namespace corvane {

struct TLocalTime {
    int year = 0, month = 0, day = 0; // month and day from 1
    int hour = 0, minute = 0, second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    [[nodiscard]] virtual TLocalTime Now() const = 0;
};

} // namespace corvane
