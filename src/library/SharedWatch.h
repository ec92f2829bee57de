#pragma once
// Seeing what other computers changed in a shared library. The watch keeps
// what the folders held at the last look (each index, and the write time of
// each listed reply file), and stands between the program and the file
// system so that the program's own writes update that picture instead of
// looking like someone else's.
#include "platform/FileSystem.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

struct TFolderState {
    std::optional<std::string> index; // the index file's bytes
    std::map<std::string, long long> replyTimes; // "<n>.rep" (lower case) to write time
    bool operator==(const TFolderState&) const = default;
};
// Folder path (lower case) to what it holds, for the root and every folder
// reached from its index.
using TLibrarySnapshot = std::map<std::string, TFolderState>;

// nullopt when the root's index cannot be read: the folder is unreachable.
std::optional<TLibrarySnapshot> TakeSnapshot(const IFileSystem& fs, const std::string& root);
// Folders whose index or reply files differ, without those inside another
// one listed (reloading a folder reloads everything in it).
std::vector<std::string> ChangedFolders(const TLibrarySnapshot& before, const TLibrarySnapshot& after);

class TSharedWatch : public IFileSystem {
public:
    explicit TSharedWatch(IFileSystem& inner) : inner_(inner) { }

    // Starts watching `root` (empty: nothing); false when it is unreachable.
    bool Watch(const std::string& root);
    const std::string& Root() const { return root_; }
    // Looks again: the folders another computer changed since the last look
    // (paths as this computer spells them), or nullopt when the root is
    // unreachable now.
    std::optional<std::vector<std::string>> Look();

    bool FileExists(const std::string& path) const override { return inner_.FileExists(path); }
    bool DirExists(const std::string& path) const override { return inner_.DirExists(path); }
    std::optional<std::string> ReadFile(const std::string& path) const override { return inner_.ReadFile(path); }
    bool WriteFileReplacing(const std::string& path, const std::string& bytes) override;
    bool CreateDir(const std::string& path) override;
    bool CreateDirs(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override { return inner_.SetNormalAttributes(path); }
    std::vector<DirEntry> List(const std::string& dir) const override { return inner_.List(dir); }
    bool IsLink(const std::string& path) const override { return inner_.IsLink(path); }
    bool CreateNewFile(const std::string& path, const std::string& bytes) override
    {
        return inner_.CreateNewFile(path, bytes);
    }
    std::optional<long long> LastWriteTime(const std::string& path) const override
    {
        return inner_.LastWriteTime(path);
    }

private:
    // The program itself changed the file at `path`: its folder's picture
    // follows, when the folder is watched.
    void NoteFile(const std::string& path);
    void NoteFolder(const std::string& dir);
    void ForgetFolder(const std::string& dir);
    bool Watched(const std::string& path) const;

    IFileSystem& inner_;
    std::string root_;
    TLibrarySnapshot known_;
};

} // namespace corvane
