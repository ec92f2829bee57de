#pragma once
// Programs the user keeps Corvane out of, named by their file names in one
// ";"-separated setting.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The names of the setting, blanks around them and empty ones dropped.
std::vector<std::string> ExcludedProgramNames(std::string_view setting);
// The names joined again, for storing.
std::string JoinExcludedPrograms(const std::vector<std::string>& names);

// The name to add to the list for what the user typed: the file name of a
// name or path, blanks trimmed; empty when it cannot be one (empty, or
// holding the separator) or is listed already.
std::string ProgramNameToAdd(std::string_view typed, const std::vector<std::string>& listed);

// True when the file name of `processPath` (a bare name or a full path) is
// among the names of the setting, compared without regard to case.
[[nodiscard]] bool IsExcludedProgram(std::string_view processPath, std::string_view setting);

} // namespace corvane
