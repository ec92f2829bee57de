#pragma once
// A sync client between folders on several computers (each a
// MemoryFileSystem with its own folder): it copies changes late, one file at
// a time, in an order the test's random generator picks, and when a file was
// changed on two computers before they synced it keeps both, the later one
// under "<name> (<computer>'s conflicted copy)<extension>", as the real
// clients do. A computer taken offline neither sends nor receives.
#include "fakes/MemoryFileSystem.h"

#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace corvane::fakes {

class SyncStandIn {
public:
    struct Side {
        MemoryFileSystem* fs;
        std::string root; // the synced folder on that computer
        std::string computer;
        bool online = true;
    };

    void Join(MemoryFileSystem& fs, const std::string& root, const std::string& computer);
    void SetOnline(size_t side, bool online) { sides_.at(side).online = online; }

    // Copies one pending change, picked at random; false when none is pending.
    // It sees what the program wrote (MemoryFileSystem::changed).
    bool Step(std::mt19937& random);
    // Copies until nothing is pending between the online computers; it also
    // sees files a test put in place directly.
    void SyncAll(std::mt19937& random);
    int ConflictCopies() const { return conflictCopies_; }

private:
    struct CloudFile {
        std::string path; // relative, as first written
        std::string bytes;
        int version = 0;
        bool deleted = false;
    };
    struct Base {
        int version = 0;
        std::string bytes;
    };
    struct Pending {
        size_t side;
        std::string key; // relative path, lower case
        bool upload;
    };

    void Collect();
    void RescanAll();
    std::vector<Pending> PendingSteps() const;
    void Upload(size_t side, const std::string& key);
    void Download(size_t side, const std::string& key);
    std::string Full(size_t side, const std::string& relative) const { return sides_[side].root + "\\" + relative; }

    std::vector<Side> sides_;
    std::map<std::string, CloudFile> cloud_;
    std::vector<std::map<std::string, Base>> bases_; // per side, what it last synced
    std::vector<std::map<std::string, std::string>> dirty_; // per side, key -> relative path as written
    std::vector<std::set<std::string>> incoming_; // per side, keys the cloud has newer
    std::vector<size_t> changesSeen_; // per side, of MemoryFileSystem::changed
    int conflictCopies_ = 0;
};

} // namespace corvane::fakes
