#pragma once
// User-visible texts of the main window (its commands' texts are in the
// command table).

namespace corvane {

inline constexpr const char* kAppTitle = "Corvane";
inline constexpr const char* kCaptionListOfMacros = "List of Macros:";
inline constexpr const char* kCaptionListOfHotKeys = "List of Hot Keys:";

} // namespace corvane
