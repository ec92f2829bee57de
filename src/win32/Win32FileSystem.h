#pragma once
// IFileSystem over the ANSI Win32 file functions.
#include <windows.h>

#include "platform/FileSystem.h"

namespace corvane::win32 {

// Milliseconds since 1970-01-01 UTC, as IFileSystem tells file times.
long long FileTimeToMilliseconds(const FILETIME& time);
// This computer's time now, on the same scale.
long long NowMilliseconds();

class Win32FileSystem : public IFileSystem {
public:
    bool FileExists(const std::string& path) const override;
    bool DirExists(const std::string& path) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFileReplacing(const std::string& path, const std::string& bytes) override;
    bool CreateDir(const std::string& path) override;
    bool CreateDirs(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override;
    std::vector<DirEntry> List(const std::string& dir) const override;
    bool IsLink(const std::string& path) const override;
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    std::optional<long long> LastWriteTime(const std::string& path) const override;
};

} // namespace corvane::win32
