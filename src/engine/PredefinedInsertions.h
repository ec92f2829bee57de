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
// The menu offers, after the date and time, the two placeholders delivery
// fills in itself: where the cursor stands, and the text the user had copied.
inline constexpr int MenuPlaceholderCount = PlaceholderCount + 2;
// The placeholder of menu item `index` (0-based).
std::string MenuPlaceholderName(int index);
// "%Date - Today (date in full)": the caption of menu item `index` (0-based).
std::string PlaceholderMenuCaption(int index);
// The menu shows today, yesterday, tomorrow, the time, and the cursor with
// the clipboard as five groups.
bool SeparatorFollows(int index);

} // namespace corvane
