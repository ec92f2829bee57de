#pragma once
// IFileSystem over the real POSIX file system. Windows-style paths are
// mapped by turning every "\" into "/", so a DataDir such as
// "\tmp\corvane-x\" names the directory /tmp/corvane-x/.
#include "platform/FileSystem.h"

namespace corvane::fakes {

std::string ToPosixPath(const std::string& path);
// The Windows-style spelling of a POSIX path ("/" becomes "\").
std::string ToWindowsPath(const std::string& path);

class NativeFileSystem : public IFileSystem {
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

} // namespace corvane::fakes
