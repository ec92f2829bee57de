#pragma once
// The date and time placeholders a reply may hold, and their values at the
// moment of delivery.
#include <array>
#include <string>

#include "platform/Clock.h"

namespace corvane {

inline constexpr int PlaceholderCount = 11;
extern const std::array<const char*, PlaceholderCount> PlaceholderNames;
extern const std::array<const char*, PlaceholderCount> PlaceholderCaptions;

// The eleven names joined by ",".
std::string PredefinedNames();
// The eleven values for `now`, joined by the character 1.
std::string PredefinedValues(const TLocalTime& now);
// "%Date - Today (date in full)": the caption of menu item `index` (0-based).
std::string PlaceholderMenuCaption(int index);
// The menu shows today, yesterday, tomorrow and the time as four groups.
bool SeparatorFollows(int index);

} // namespace corvane
