#pragma once
// Reading and writing the library's text files, and choosing the number of a
// new entry in a directory.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class IFileSystem;

// The file's lines; nullopt when it cannot be read.
std::optional<std::vector<std::string>> ReadTextLines(const IFileSystem& fs, const std::string& path);
// Every line ending with CR LF; false when the file could not be written.
[[nodiscard]] bool WriteTextLines(IFileSystem& fs, const std::string& path, const std::vector<std::string>& lines);

// First line with the given prefix and number, both without regard to case;
// -1 when none.
int FindLineByNumber(const std::vector<std::string>& lines, std::string_view prefix, std::string_view number);

// <dir>\index.sub
std::string IndexPathIn(const std::string& dir);

// The first number from 1 up that is free on disk in `dir` and that no line
// of the directory's index names either: a line whose file has gone missing
// must not come to name a new entry.
std::string FreeEntryNumber(
    const IFileSystem& fs, const std::string& dir, bool folder, const std::vector<std::string>& indexLines);

} // namespace corvane
