#pragma once
// Clearing, before a library is loaded, what an interrupted write can leave
// in it, so that no cut ever needs a repair by hand. Works on any library
// root (the user's own library, a shared one).
#include <string>
#include <vector>

namespace corvane {

class IFileSystem;

struct TTidyReport {
    // Listed entries whose file or directory was missing, as
    // "Folder\Name" (full path); their lines are gone from the indexes.
    std::vector<std::string> dropped;
    int temporariesRemoved = 0;
    // A move cut off after listing the entry in both places was finished.
    bool moveFinished = false;
};

// In the root and in every folder reached from its index: removes the
// program's own temporaries (cvn*.tmp), keeps only the destination's listing
// of an entry that an interrupted move left listed twice, and drops the index
// lines of entries that are missing on disk. An entry that is listed and
// present is never touched, nor an unlisted file other than a temporary.
TTidyReport TidyLibrary(IFileSystem& fs, const std::string& root);

// One warning naming every dropped entry; nothing when none was dropped.
void ShowTidyNotice(const TTidyReport& report);

} // namespace corvane
