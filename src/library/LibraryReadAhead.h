#pragma once
// The files of the library read ahead, away from the window's thread: every
// index file from the root down and every reply file they name, as loading
// will ask for them. The window's thread then builds the library from memory.
#include "library/LibraryTidy.h"
#include "library/ReplyCache.h"
#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace corvane {

// File contents by path; nullopt for a file that could not be read.
using TFilesRead = std::unordered_map<std::string, std::optional<std::string>>;
// The folders reading went into, by path as loading spells them: each was
// found to be no link on the way.
using TFoldersGoneInto = std::unordered_set<std::string>;

// What reading can start from besides the disk.
struct TReadAheadSources {
    // What the tidy listed and read (taken out as it is used); a folder not
    // in it is listed and its index read here.
    TFoldersRead* folders = nullptr;
    // Replies kept from an earlier start (taken out as they are used).
    TReplyCache* cache = nullptr;
};

struct TLibraryRead {
    TFilesRead files;
    TFoldersGoneInto folders;
    // Each reply file read, by path, with the stamp its folder's listing
    // showed; a file whose stamp the listing did not tell is not here.
    std::vector<std::pair<std::string, TReplyStamp>> stamps;
    size_t fromCache = 0;
    size_t fromDisk = 0;
    // The cache no longer matches the library: a reply was read from the
    // disk, or the cache holds one that was not taken.
    bool cacheOutOfDate = false;
};

// Follows the index files from `rootIndexPath` down as loading does (the
// same folder numbers followed, the same depth, no links) and reads them
// and the reply files they list. A reply comes from the cache when its
// folder's listing shows it with the stamp kept there, from the disk
// otherwise; index files always come from the disk (or the tidy, which has
// just read them). Safe on any thread with its own file system.
// `filesRead`, when given, hears the count after each file.
TLibraryRead ReadLibraryAhead(const IFileSystem& fs, const std::string& rootIndexPath, TReadAheadSources from = {},
    const std::function<void(size_t filesRead)>& filesRead = {});

// The cache file's bytes for the library at `root` as `read` found it (see
// FormatReplyCache for `readStarted`). Before the files are handed on.
std::string ReplyCacheOf(const TLibraryRead& read, const std::string& root, long long readStarted);

// "start: library files read (9,998 from the cache, 2 from disk)"
std::string ReadAheadTraceText(const TLibraryRead& read);

struct TLibraryStart {
    TTidyReport tidy;
    TLibraryRead read;
    // What the cache file is to hold from now on; nullopt when it is right.
    std::optional<std::string> cache;
};

// A start's reading, away from the window's thread: tidies the library at
// `root`, then reads it, each folder listed once, the replies that did not
// change since the cache at `cachePath` (empty: none) was written taken
// from it. `readStarted` is the time now, on the file times' clock.
TLibraryStart ReadLibraryAtStart(
    IFileSystem& fs, const std::string& root, const std::string& cachePath, long long readStarted);

// The file system loading reads through: a file read ahead is served once
// from memory, and so is the answer that a folder gone into is no link;
// everything else goes to the disk beneath. Any change made through it drops
// what is left, so that nothing stale is ever served.
class TReadAheadFileSystem final : public IFileSystem {
public:
    explicit TReadAheadFileSystem(IFileSystem& disk) : disk_(disk) { }

    void Offer(TFilesRead files, TFoldersGoneInto folders = {})
    {
        files_ = std::move(files);
        folders_ = std::move(folders);
    }
    void Drop()
    {
        files_.clear();
        folders_.clear();
    }

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
    bool IsLink(const std::string& path) const override;
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    std::optional<long long> LastWriteTime(const std::string& path) const override { return disk_.LastWriteTime(path); }

private:
    IFileSystem& disk_;
    mutable TFilesRead files_;
    mutable TFoldersGoneInto folders_;
};

} // namespace corvane
