#pragma once
// File-system operations the program needs. Paths are Windows paths with "\"
// separators and ANSI (single-byte) names; the native implementation used by
// the tests maps them onto a POSIX directory.
#include <optional>
#include <string>
#include <vector>

// <windows.h> maps DeleteFile to DeleteFileA; the member keeps its own name
// in every translation unit, whatever was included before.
#ifdef DeleteFile
#undef DeleteFile
#endif

namespace corvane {

struct DirEntry {
    std::string name;
    bool isDir = false;
    // A file's size and last write time (milliseconds since 1970-01-01 UTC,
    // as LastWriteTime) when the listing tells them at no extra cost; nullopt
    // where it does not, so that nothing ever takes an unknown for a match.
    std::optional<unsigned long long> size = std::nullopt;
    std::optional<long long> lastWriteTime = std::nullopt;
    // A junction or symbolic link, as IsLink tells of it: the search tells it
    // with the name, so a walk needs no call of its own for each folder.
    bool isLink = false;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    [[nodiscard]] virtual bool FileExists(const std::string& path) const = 0;
    [[nodiscard]] virtual bool DirExists(const std::string& path) const = 0;

    // Whole file as bytes; nullopt when it cannot be read.
    [[nodiscard]] virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
    // Writes through a temporary file in the same directory that then replaces
    // `path` in one step, so a crash leaves the old file or the new one.
    [[nodiscard]] virtual bool WriteFileReplacing(const std::string& path, const std::string& bytes) = 0;

    [[nodiscard]] virtual bool CreateDir(const std::string& path) = 0;
    // Creates the directory and every missing parent.
    [[nodiscard]] virtual bool CreateDirs(const std::string& path) = 0;
    // Renames a file or a whole directory; fails when `to` exists.
    [[nodiscard]] virtual bool Rename(const std::string& from, const std::string& to) = 0;
    [[nodiscard]] virtual bool DeleteFile(const std::string& path) = 0;
    // Removes a directory only when it is empty.
    [[nodiscard]] virtual bool RemoveDir(const std::string& path) = 0;
    // Clears read-only and similar attributes so that the file can be deleted.
    [[nodiscard]] virtual bool SetNormalAttributes(const std::string& path) = 0;
    // Entries of a directory without "." and "..".
    [[nodiscard]] virtual std::vector<DirEntry> List(const std::string& dir) const = 0;
    // True for a directory junction or symbolic link: walking into one may
    // lead outside the tree being walked, or back up into it.
    [[nodiscard]] virtual bool IsLink(const std::string& path) const { return false; }
    // Creates a file holding `bytes` only when nothing is at `path` yet. The
    // test and the creation are one step on every computer sharing a folder
    // (share modes are not), which is what a lock across computers needs.
    [[nodiscard]] virtual bool CreateNewFile(const std::string& path, const std::string& bytes) = 0;
    // When the file or directory was last written, in milliseconds since
    // 1970-01-01 UTC; nullopt when it cannot be read.
    [[nodiscard]] virtual std::optional<long long> LastWriteTime(const std::string& path) const = 0;
};

} // namespace corvane
