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
// <dir>\<number> for a folder, <dir>\<number>.rep for a reply.
std::string EntryPathIn(const std::string& dir, const std::string& number, bool folder);

// True when `path` is `dir` or lies below it, without regard to case.
bool IsAtOrBelow(const std::string& path, const std::string& dir);

// True for cvn*.tmp, without regard to case: a temporary of the program's own.
bool IsOwnTempName(std::string_view name);
// <dir>\cvn<k>.tmp, k hexadecimal, the first that names nothing yet.
std::string FreeTempPath(const IFileSystem& fs, const std::string& dir);

// Puts a copy of a reply file or of a whole folder at `to`, which must not
// exist. A folder is copied into a temporary directory that is then renamed,
// so `to` appears complete or not at all. False when anything could not be
// copied, when `to` lies inside `from` (two index lines naming one folder can
// lead there), when the folder holds a linked directory, or when the copy has
// no index.sub (the folder could not be listed); nothing is then left at `to`.
[[nodiscard]] bool CopyEntry(IFileSystem& fs, const std::string& from, const std::string& to, bool folder);
// Deletes a reply file, or a folder with everything in it.
bool DeleteEntryFiles(IFileSystem& fs, const std::string& path, bool folder);

// The first number from 1 up that is free on disk in `dir` and that no line
// of the directory's index names either: a line whose file has gone missing
// must not come to name a new entry.
std::string FreeEntryNumber(
    const IFileSystem& fs, const std::string& dir, bool folder, const std::vector<std::string>& indexLines);

} // namespace corvane
