#pragma once
// Clearing, before a library is loaded, what an interrupted write can leave
// in it, so that no cut ever needs a repair by hand. Works on any library
// root (the user's own library, a shared one).
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace corvane {

struct TTidyReport {
    // Listed entries whose file or directory was missing, as
    // "Folder\Name" (full path); their lines are gone from the indexes.
    std::vector<std::string> dropped;
    int temporariesRemoved = 0;
    // A move cut off after listing the entry in both places was finished.
    bool moveFinished = false;
};

// What the tidy listed and read in one folder, handed on so that reading
// the library after it lists and reads nothing twice.
struct TFolderRead {
    // The folder's entries, without the temporaries the tidy removed.
    std::vector<DirEntry> listing;
    // The index's bytes as the tidy left them; nullopt when it could not read
    // them or rewrote the index: the reader then reads the file itself.
    std::optional<std::string> index;
};
// By the folder's path as loading spells it: the root, then <dir>\<number>.
using TFoldersRead = std::unordered_map<std::string, TFolderRead>;

// In the root and in every folder reached from its index: removes the
// program's own temporaries (cvn*.tmp), keeps only the destination's listing
// of an entry that an interrupted move left listed twice, and drops the index
// lines of entries that are missing on disk. An entry that is listed and
// present is never touched, nor an unlisted file other than a temporary.
// Each folder is listed once; `read`, when given, is told what was found.
TTidyReport TidyLibrary(IFileSystem& fs, const std::string& root, TFoldersRead* read = nullptr);

// For a library on a folder that other computers share: only the program's
// temporaries that are older than `minTempAgeMilliseconds` at `now` (see
// IFileSystem::LastWriteTime) go, since a younger one may be another
// computer's write in progress. Entries are never dropped there: a synced
// folder may show an index line before its file has arrived.
int TidySharedLibrary(IFileSystem& fs, const std::string& root, long long now, long long minTempAgeMilliseconds);
inline constexpr long long kSharedTempAgeMilliseconds = 10 * 60 * 1000;

// One warning naming every dropped entry; nothing when none was dropped.
void ShowTidyNotice(const TTidyReport& report);

} // namespace corvane
