#pragma once
// Decisions taken while the process starts.
#include <string>
#include <vector>

namespace corvane {

inline constexpr const char* kSingleInstanceMutexName = "Corvane2Mutex";
inline constexpr const char* kHiddenSwitch = "-hidden";

// True when the first argument (after the program name) is exactly "-hidden";
// further arguments do not matter.
bool IsHiddenStart(const std::vector<std::string>& argsWithoutProgram);

} // namespace corvane
