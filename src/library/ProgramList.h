#pragma once
// Whether a program is among the ";"-separated file names of a setting.
// Used by the hook library inside every hooked process, so it allocates
// nothing and needs no runtime library (no searching or cutting members of
// string_view, which call the C library or throw); the letter case is
// folded by the caller's function.
#include <cstddef>
#include <string_view>

namespace corvane {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline std::string_view TrimBlanks(std::string_view text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && IsBlank(*begin))
        ++begin;
    while (end != begin && IsBlank(end[-1]))
        --end;
    return {begin, static_cast<std::size_t>(end - begin)};
}

inline std::string_view FileNameOfPath(std::string_view path)
{
    std::size_t start = path.size();
    while (start > 0 && path[start - 1] != '\\' && path[start - 1] != '/')
        --start;
    return {path.data() + start, path.size() - start};
}

// True when the file name of `processPath` (a bare name or a full path)
// equals the file name of one of the setting's entries, as `fold` sees
// letters.
template <typename Fold> bool ProgramListHolds(std::string_view setting, std::string_view processPath, Fold fold)
{
    const std::string_view file = FileNameOfPath(TrimBlanks(processPath));
    if (file.empty())
        return false;
    auto same = [&](std::string_view a) {
        if (a.size() != file.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (fold(a[i]) != fold(file[i]))
                return false;
        return true;
    };
    std::size_t start = 0;
    while (start <= setting.size()) {
        std::size_t end = start;
        while (end < setting.size() && setting[end] != ';')
            ++end;
        const std::string_view name = TrimBlanks({setting.data() + start, end - start});
        if (!name.empty() && same(FileNameOfPath(name)))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace corvane
