#pragma once
// The team library in the main window: shown beside the user's own from the
// snapshots of the team's change files (ITeamStore), made anew only when the
// user is not editing a team entry, and changed by recording changes of the
// versions shown, never by writing shared files.
#include "editing/LibraryEditing.h"
#include "editing/TeamSync.h"

#include <map>
#include <memory>
#include <string>

namespace corvane {

class TRep;
class TRepList;

struct TTeamSettings {
    std::string folder; // the shared folder, no trailing separator; empty: no team library
    std::string name; // the label of its top-level folder
};

class TTeamLibrary : public ITeamEdits {
public:
    // `store` keeps and exchanges the changes (TTeamSync in the program).
    TTeamLibrary(TRepList& library, TLibraryEditing& editing, ITeamStore& store);
    ~TTeamLibrary() override;
    TTeamLibrary(const TTeamLibrary&) = delete;
    TTeamLibrary& operator=(const TTeamLibrary&) = delete;

    // Shows the team library of `settings` empty (none when its folder is
    // empty) until the store's first snapshot.
    void Load(const TTeamSettings& settings);
    // Shows the store's latest snapshot when there is a newer one and the
    // user is not editing a team entry (see TLibraryEditing::MayShowTeamAnew);
    // true when it was shown. A snapshot held back is shown at a later call.
    bool ShowLatest(bool focusInBoxes);
    // The team folder could not be reached at the last exchange.
    bool Offline() const { return loaded_ && !reachable_; }
    int Unsent() const { return unsent_; }

    // The text telling the user about conflicts not told before, one line
    // each; empty when there is none. `told` holds one key per line of the
    // conflicts told already and gets the new ones.
    std::string TakeConflictNotice(std::string& told) const;

    // ITeamEdits
    std::string NewEntryId() override { return NewTeamEntryId(); }
    void Added(const TRep& rep) override;
    void Changed(const TRep& rep) override;
    void Deleted(const TRep& rep) override;

private:
    void Fill(const TTeamView& view);
    TTeamEntryState StateOf(const TRep& rep) const;
    TTeamShownEntry ShownOf(const TRep& rep) const;

    TRepList& library_;
    TLibraryEditing& editing_;
    ITeamStore& store_;
    TTeamSettings settings_;
    bool loaded_ = false;
    bool reachable_ = false;
    int unsent_ = 0;
    long long seen_ = 0;
    // Touched by the store's edits only (on its thread): the change recorded
    // here that replaced a version, so the next edit of an entry made before
    // the window saw the new snapshot follows the user's own change instead
    // of standing beside it as a conflict. "+<id>" stands for an entry added
    // here and not yet shown from a snapshot.
    std::shared_ptr<std::map<std::string, std::string>> followedBy_;
};

} // namespace corvane
