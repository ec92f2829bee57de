#pragma once
// The team library in the main window: loaded beside the user's own at start
// from the shared folder, or from the copy last read from it when the folder
// cannot be reached; looked at every few seconds for what other computers
// changed; offline and back again as the folder comes and goes.
#include <string>

namespace corvane {

class IFileSystem;
class TLibraryEditing;
class TRep;
class TRepList;
class TSharedWatch;

struct TTeamSettings {
    std::string folder; // the shared folder, no trailing separator; empty: no team library
    std::string name; // the label of its top-level folder
    std::string cacheDir; // where the last-read copy is kept on this computer
};

class TTeamLibrary {
public:
    // `watch` stands between the library and the file system (TRepList and
    // TLibraryEditing are built on it).
    TTeamLibrary(TRepList& library, TLibraryEditing& editing, TSharedWatch& watch);

    // Shows the team library of `settings` (none when its folder is empty).
    // `now` is in milliseconds since 1970, for telling another computer's
    // temporaries in progress from leftovers.
    void Load(const TTeamSettings& settings, long long now);
    // One look at the shared folder: reloads the folders another computer
    // changed, or goes offline, or back online.
    void Tick();
    bool Offline() const;

    // The text telling the user about conflicts not told before, one line
    // each; empty when there is none. `told` holds one key per line of the
    // conflicts told already and gets the new ones.
    std::string TakeConflictNotice(std::string& told) const;

private:
    void LoadFromFolder();
    void LoadFromCache();
    // Mirrors the shown folder, with everything in it, into the cache.
    void WriteCache(const TRep* folder);
    std::string CachePathOf(const std::string& sharedPath) const;

    TRepList& library_;
    TLibraryEditing& editing_;
    TSharedWatch& watch_;
    TTeamSettings settings_;
};

} // namespace corvane
