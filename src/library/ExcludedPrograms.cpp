#include "library/ExcludedPrograms.h"

#include "library/TextUtils.h"

namespace corvane {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1);
}

std::string_view FileNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<std::string> ExcludedProgramNames(std::string_view setting)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= setting.size()) {
        const size_t end = std::min(setting.find(';', start), setting.size());
        const std::string_view name = Trimmed(setting.substr(start, end - start));
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
    const std::string_view name = FileNameOf(Trimmed(typed));
    if (name.empty() || name.find(';') != std::string_view::npos)
        return {};
    for (const std::string& other : listed)
        if (SameTextIgnoringCase(other, name))
            return {};
    return std::string(name);
}

bool IsExcludedProgram(std::string_view processPath, std::string_view setting)
{
    const std::string_view file = FileNameOf(Trimmed(processPath));
    if (file.empty())
        return false;
    for (const std::string& name : ExcludedProgramNames(setting))
        if (SameTextIgnoringCase(FileNameOf(name), file))
            return true;
    return false;
}

} // namespace corvane
