#include "hooks/HookHost32.h"

namespace corvane {

std::string FolderOfPath(std::string_view path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string HookHost32Path(const THookLibrarySite& site, bool hooksRunning, bool windowsIs64Bit)
{
    if (!site.refusal.empty() || !hooksRunning || !windowsIs64Bit)
        return {};
    const std::string folder = FolderOfPath(site.path);
    if (folder.empty())
        return {}; // only ever started by its full path
    return folder + "\\" + HookHost32FileName;
}

std::string HookHost32CommandLine(const std::string& hostPath, std::uint32_t ownerProcess)
{
    return "\"" + hostPath + "\" --owner " + std::to_string(ownerProcess);
}

namespace {

std::string_view SkipSpaces(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

// What follows the program's own name, quoted or not.
std::string_view AfterProgramName(std::string_view commandLine)
{
    std::string_view rest = SkipSpaces(commandLine);
    if (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        return close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
    }
    const std::size_t end = rest.find_first_of(" \t");
    return end == std::string_view::npos ? std::string_view() : rest.substr(end);
}

} // namespace

std::optional<std::uint32_t> OwnerOfHookHost32(std::string_view commandLine)
{
    constexpr std::string_view Flag = "--owner";
    std::string_view rest = SkipSpaces(AfterProgramName(commandLine));
    if (rest.substr(0, Flag.size()) != Flag)
        return std::nullopt;
    rest.remove_prefix(Flag.size());
    if (rest.empty() || (rest.front() != ' ' && rest.front() != '\t'))
        return std::nullopt;
    rest = SkipSpaces(rest);
    std::uint64_t value = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        value = value * 10 + static_cast<std::uint64_t>(rest[digits] - '0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
        ++digits;
    }
    if (digits == 0 || value == 0 || !SkipSpaces(rest.substr(digits)).empty())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace corvane
