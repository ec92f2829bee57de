#include "library/LibraryFiles.h"

#include "library/IndexFormat.h"
#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "platform/FileSystem.h"

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
