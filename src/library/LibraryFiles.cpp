#include "library/LibraryFiles.h"

#include "library/IndexFormat.h"
#include "library/TextUtils.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "platform/FileSystem.h"

#include <cstdio>

namespace corvane {

std::optional<std::vector<std::string>> ReadTextLines(const IFileSystem& fs, const std::string& path)
{
    std::optional<std::string> bytes = fs.ReadFile(path);
    if (!bytes)
        return std::nullopt;
    return SplitTextLines(*bytes);
}

bool WriteTextLines(IFileSystem& fs, const std::string& path, const std::vector<std::string>& lines)
{
    return fs.WriteFileReplacing(path, JoinTextLines(lines));
}

std::string IndexPathIn(const std::string& dir) { return dir + "\\" + kIndexFileName; }

std::string EntryPathIn(const std::string& dir, const std::string& number, bool folder)
{
    return dir + "\\" + number + (folder ? "" : kReplyExtension);
}

bool IsAtOrBelow(const std::string& path, const std::string& dir)
{
    const std::string withSeparator = path + "\\";
    return withSeparator.size() > dir.size() && withSeparator[dir.size()] == '\\'
        && SameTextIgnoringCase(std::string_view(withSeparator).substr(0, dir.size()), dir);
}

bool IsOwnTempName(std::string_view name)
{
    const std::string_view prefix = kTempPrefix;
    const std::string_view extension = kTempExtension;
    return name.size() >= prefix.size() + extension.size()
        && SameTextIgnoringCase(name.substr(0, prefix.size()), prefix)
        && SameTextIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

std::string FreeTempPath(const IFileSystem& fs, const std::string& dir)
{
    for (unsigned k = 1;; ++k) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", k);
        const std::string path = dir + "\\" + kTempPrefix + hex + kTempExtension;
        if (!fs.FileExists(path) && !fs.DirExists(path))
            return path;
    }
}

bool CopyEntry(IFileSystem& fs, const std::string& from, const std::string& to, bool folder)
{
    if (!folder) {
        const std::optional<std::string> bytes = fs.ReadFile(from);
        return bytes && !fs.FileExists(to) && fs.WriteFileReplacing(to, *bytes);
    }
    // Copying a folder into itself would never end.
    if (IsAtOrBelow(to, from))
        return false;
    const std::string temp = FreeTempPath(fs, to.substr(0, to.find_last_of('\\')));
    if (!fs.CreateDir(temp))
        return false;
    // A folder always has its index: a copy without one means the listing
    // of `from` failed, and the move would then lose the folder's contents.
    if (CopyTree(fs, from, temp) && fs.FileExists(IndexPathIn(temp)) && fs.Rename(temp, to))
        return true;
    (void)DeleteTree(fs, temp);
    return false;
}

bool DeleteEntryFiles(IFileSystem& fs, const std::string& path, bool folder)
{
    return folder ? DeleteTree(fs, path) : fs.DeleteFile(path);
}

int FindLineByNumber(const std::vector<std::string>& lines, std::string_view prefix, std::string_view number)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const IndexLine parts = SplitIndexLine(lines[i]);
        if (SameTextIgnoringCase(parts.prefix, prefix) && SameTextIgnoringCase(parts.number, number))
            return static_cast<int>(i);
    }
    return -1;
}

std::string FreeEntryNumber(
    const IFileSystem& fs, const std::string& dir, bool folder, const std::vector<std::string>& indexLines)
{
    const char* prefix = folder ? kFolderPrefix : kReplyPrefix;
    for (unsigned n = 1;; ++n) {
        const std::string number = std::to_string(n);
        const bool onDisk
            = folder ? fs.DirExists(dir + "\\" + number) : fs.FileExists(dir + "\\" + number + kReplyExtension);
        if (!onDisk && FindLineByNumber(indexLines, prefix, number) < 0)
            return number;
    }
}

} // namespace corvane
