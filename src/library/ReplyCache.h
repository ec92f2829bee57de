#pragma once
// A copy of the library's reply files kept in one file on this computer, so
// that a start reads that file and the folders' listings instead of opening
// every reply. A reply is taken from it only when the folder's listing shows
// the file with the very size and write time it had when it was copied; the
// copy is never the only place anything is kept, and a copy that cannot be
// trusted counts as empty. Deleting it only costs the next start its time.
#include "platform/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// Its name in the folder this computer keeps for itself.
inline constexpr const char* kReplyCacheFileName = "ReplyCache.bin";

// What a listing tells of a file, enough to see that it was written since.
struct TReplyStamp {
    unsigned long long size = 0;
    long long lastWriteTime = 0; // milliseconds since 1970-01-01 UTC
    bool operator==(const TReplyStamp&) const = default;
};

// The stamp of a listed file; nullopt for a directory or when the listing
// does not tell both.
std::optional<TReplyStamp> StampOf(const DirEntry& entry);

// One reply to keep, as it was read.
struct TReplyToKeep {
    std::string_view path; // relative to the library's root: "<n>.rep", "<folder>\<n>.rep"
    TReplyStamp stamp;
    std::string_view bytes;
};

// A file written this close to the moment its bytes were read may be written
// again within the disk's time resolution (2 s on FAT) with the same size,
// leaving its stamp as it was: such a file is not kept.
inline constexpr long long kReplyCacheSettleMilliseconds = 3000;

// The bytes of a cache file for the library at `root`, holding `replies`
// except those whose write time is not at least kReplyCacheSettleMilliseconds
// before `readStarted` (when reading them began, on the file times' clock).
std::string FormatReplyCache(const std::string& root, const std::vector<TReplyToKeep>& replies, long long readStarted);

class TReplyCache {
public:
    TReplyCache() = default;
    // What a cache file's bytes hold for the library at `root`: nothing when
    // they are of another format version or another root; the entries up to
    // the first one that is cut short or fails its check otherwise.
    static TReplyCache Parse(std::string_view bytes, const std::string& root);

    // The kept bytes of the reply at `path` (relative to the root, without
    // regard to case) when they were kept with exactly `stamp`. Each entry
    // is handed out once.
    std::optional<std::string> Take(const std::string& path, const TReplyStamp& stamp);

    size_t Size() const { return entries_.size(); }
    // Entries not handed out: files gone, changed or no longer listed.
    size_t Untaken() const { return entries_.size() - taken_; }

private:
    struct Entry {
        TReplyStamp stamp;
        std::string bytes;
        bool taken = false;
    };
    std::unordered_map<std::string, Entry> entries_; // by path in upper case
    size_t taken_ = 0;
};

// The cache file of `root` read from `path` through `fs`; empty when it is
// missing or cannot be trusted.
TReplyCache ReadReplyCache(const IFileSystem& fs, const std::string& path, const std::string& root);
// Replaces the cache file at `path` whole (a temporary, then a replace),
// making its folder first when needed.
bool WriteReplyCache(IFileSystem& fs, const std::string& path, const std::string& bytes);

} // namespace corvane
