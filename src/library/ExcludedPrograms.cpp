#include "library/ExcludedPrograms.h"

#include "library/ProgramList.h"
#include "library/TextUtils.h"

namespace corvane {

std::vector<std::string> ExcludedProgramNames(std::string_view setting)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= setting.size()) {
        const size_t end = std::min(setting.find(';', start), setting.size());
        const std::string_view name = TrimBlanks(setting.substr(start, end - start));
        if (!name.empty())
            names.emplace_back(name);
        start = end + 1;
    }
    return names;
}

std::string JoinExcludedPrograms(const std::vector<std::string>& names)
{
    std::string raw;
    for (const std::string& name : names)
        raw += name + ";";
    std::string joined;
    for (const std::string& name : ExcludedProgramNames(raw))
        joined += (joined.empty() ? "" : ";") + name;
    return joined;
}

std::string ProgramNameToAdd(std::string_view typed, const std::vector<std::string>& listed)
{
    const std::string_view name = FileNameOfPath(TrimBlanks(typed));
    if (name.empty() || name.find(';') != std::string_view::npos)
        return {};
    for (const std::string& other : listed)
        if (SameTextIgnoringCase(other, name))
            return {};
    return std::string(name);
}

bool IsExcludedProgram(std::string_view processPath, std::string_view setting)
{
    return ProgramListHolds(setting, processPath, ToLowerAnsi);
}

} // namespace corvane
