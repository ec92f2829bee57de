#pragma once
// This computer's copy of one team folder's changes, kept on this computer
// per team folder: every change known here (its own and the others'), the
// own changes not yet written to the team folder, and this computer's tag
// and counter. Changes made here go to the copy first, so nothing made
// offline is lost; an exchange writes them to the team folder and takes in
// what other computers wrote there.
#include "library/TeamChanges.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace corvane {

class IFileSystem;
struct DirEntry;

struct TTeamExchange {
    bool reachable = false;
    int sent = 0; // own changes written to the team folder
    int arrived = 0; // other computers' changes taken in
    int takenIn = 0; // entries taken in from a folder in the older layout
    bool foldsArrived = false; // other computers' newer folds taken in
    bool folded = false; // this computer wrote a new fold
    int removed = 0; // own change files taken out of the team folder, folded
};

// <team folder>\Corvane Team: where every computer writes its change files.
std::string TeamChangesFolder(const std::string& teamFolder);

class TTeamReplica {
public:
    using IdSource = std::function<std::string()>;
    // `localDir` is this computer's folder for this one team folder.
    // `newId` gives ids no other computer can choose (random).
    TTeamReplica(IFileSystem& local, std::string localDir, std::string computerName, IdSource newId);

    // Reads what this computer kept; false when it kept nothing yet.
    bool Open();
    // A new fold is written once this computer knows this many changes its
    // last fold does not cover.
    void SetFoldEvery(int changes) { foldEvery_ = changes; }
    // This computer's clock in seconds, only ever compared with itself.
    using Clock = std::function<long long()>;
    // An own change file folded this long ago here leaves the team folder
    // even when a computer that once wrote changes never folded it (a
    // computer gone for good would keep every file in place otherwise).
    void SetFoldAge(long long seconds, Clock now)
    {
        foldAge_ = seconds;
        now_ = std::move(now);
    }
    const TTeamView& View() const { return view_; }
    const TTeamChanges& Changes() const { return changes_; }
    const std::string& Tag() const { return tag_; }
    int Unsent() const { return static_cast<int>(outbox_.size()); }

    // Changes made on this computer; each is kept here at once and sent at
    // the next exchange. Each returns the new change's key, or empty when the
    // shown entry is no longer shown (the view moved on meanwhile).
    std::string Add(const TTeamEntryState& state);
    // An add whose id was chosen already (by newId elsewhere, e.g. on the
    // window's thread, which shows the entry before it is recorded).
    std::string AddAs(const std::string& entry, const TTeamEntryState& state);
    // `shown` is a version as the user saw it: the change replaces that
    // version only, so a change another computer made meanwhile is kept.
    // A change to what the version already is records nothing and returns
    // the version's own key.
    std::string Change(const TTeamShownEntry& shown, TTeamEntryState state);
    // Deletes the version and, for a folder, the entries it showed; an entry
    // another computer added there meanwhile is kept (moved to the top).
    std::vector<std::string> Delete(const TTeamShownEntry& shown);
    // The entry's id of a change key (for tests and callers holding keys).
    std::string EntryOf(const std::string& key) const;

    // One exchange with the team folder through `shared` (a share or a
    // synced drive's local folder): writes the unsent changes, reads the
    // change files not known yet, and on first use takes in a team folder
    // in the older layout (index files and numbered replies).
    TTeamExchange Exchange(IFileSystem& shared, const std::string& teamFolder);

private:
    std::string Record(const std::string& entry, std::vector<std::string> replaces, TTeamEntryState state);
    bool Keep(const TTeamChange& change);
    bool Send(IFileSystem& shared, const std::string& folder, const std::string& key);
    void SaveCounter();
    void Remerge();
    // The changes new here; false when no newer than this computer's fold.
    std::optional<int> TakeFold(TTeamFold fold, bool keepHere);
    bool FoldedLongAgo(const std::string& ownKey) const;
    bool WriteFold(IFileSystem& shared, const std::string& folder);
    int RemoveFolded(IFileSystem& shared, const std::string& folder, const std::vector<DirEntry>& listing);

    IFileSystem& local_;
    std::string localDir_;
    std::string computerName_;
    IdSource newId_;
    std::string tag_;
    long long counter_ = 0;
    TTeamChanges changes_;
    std::set<std::string> knownNames_; // lower case: a sync client may change a name's case
    std::vector<std::string> outbox_;
    TTeamView view_;
    std::map<std::string, TTeamFold> folds_; // the newest of each computer, this one's too
    std::set<std::string> replacedInFolds_;
    int foldEvery_ = 200;
    bool lookAtRemoving_ = true; // a fold came or went since the last look
    long long foldAge_ = 30LL * 24 * 3600;
    Clock now_;
    long long nextAgeLook_ = 0;
    std::map<long long, long long> ownFoldTimes_; // number of each own fold: when it was written here
};

} // namespace corvane
