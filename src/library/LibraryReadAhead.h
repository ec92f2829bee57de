#pragma once
// The files of the library read ahead, away from the window's thread: every
// index file from the root down and every reply file they name, as loading
// will ask for them. The window's thread then builds the library from memory.
#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

namespace corvane {

// File contents by path; nullopt for a file that could not be read.
using TFilesRead = std::unordered_map<std::string, std::optional<std::string>>;

// Follows the index files from `rootIndexPath` down as loading does (the
// same folder numbers followed, the same depth, no links) and reads them
// and the reply files they list. Safe on any thread with its own file system.
// `filesRead`, when given, hears the count after each file.
TFilesRead ReadLibraryAhead(const IFileSystem& fs, const std::string& rootIndexPath,
    const std::function<void(size_t filesRead)>& filesRead = {});

// The file system loading reads through: a file read ahead is served once
// from memory, everything else goes to the disk beneath. Any change made
// through it drops what is left, so that nothing stale is ever served.
class TReadAheadFileSystem final : public IFileSystem {
public:
    explicit TReadAheadFileSystem(IFileSystem& disk) : disk_(disk) { }

    void Offer(TFilesRead files) { files_ = std::move(files); }
    void Drop() { files_.clear(); }

    bool FileExists(const std::string& path) const override { return disk_.FileExists(path); }
    bool DirExists(const std::string& path) const override { return disk_.DirExists(path); }
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFileReplacing(const std::string& path, const std::string& bytes) override;
    bool CreateDir(const std::string& path) override { return disk_.CreateDir(path); }
    bool CreateDirs(const std::string& path) override { return disk_.CreateDirs(path); }
    bool Rename(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override { return disk_.SetNormalAttributes(path); }
    std::vector<DirEntry> List(const std::string& dir) const override { return disk_.List(dir); }
    bool IsLink(const std::string& path) const override { return disk_.IsLink(path); }
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    std::optional<long long> LastWriteTime(const std::string& path) const override { return disk_.LastWriteTime(path); }

private:
    IFileSystem& disk_;
    mutable TFilesRead files_;
};

} // namespace corvane
