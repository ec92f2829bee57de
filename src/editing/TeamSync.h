#pragma once
// The team library's file work on a thread of its own: this computer's copy
// is read, changes made here are recorded, and the team folder is exchanged
// with every few seconds, while the window thread only hands changes in and
// takes finished views out. A share that does not answer holds up this
// thread, never the window or anyone's typing.
#include "library/TeamReplica.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane {

class IFileSystem;

struct TTeamPlace {
    std::string teamFolder;
    std::string copyFolder; // this computer's copy for this team folder (TeamCopyFolder)
    std::string computerName;
};

// <copies root>\<a name made from the team folder's path>: every team folder
// has a copy of its own, so an unreachable team folder never shows another's.
std::string TeamCopyFolder(const std::string& copiesRoot, const std::string& teamFolder);

struct TTeamSnapshot {
    TTeamView view;
    bool reachable = false; // at the last exchange
    int unsent = 0; // changes made here that the team folder does not have yet
    long long serial = 0; // grows with every snapshot published
};

// What the window sees of the team library's store: it hands edits in and
// takes finished views out, neither of which waits for the team folder.
class ITeamStore {
public:
    using Edit = std::function<void(TTeamReplica&)>;
    virtual ~ITeamStore() = default;
    virtual void Submit(Edit edit) = 0;
    // The snapshot published last, when newer than `seen`.
    virtual std::optional<TTeamSnapshot> TakeSnapshot(long long seen) const = 0;
};

// 128 random bits in hex: an entry id no other computer chooses.
std::string NewTeamEntryId();

class TTeamSync : public ITeamStore {
public:
    // `shared` reaches the team folder, `local` holds the copy; both are used
    // on the sync thread only, from Start to Stop.
    TTeamSync(IFileSystem& shared, IFileSystem& local, TTeamReplica::IdSource newId);
    ~TTeamSync();
    TTeamSync(const TTeamSync&) = delete;
    TTeamSync& operator=(const TTeamSync&) = delete;

    // `published` is called on the sync thread after each new snapshot (the
    // window posts itself a message there, nothing more).
    void Start(const TTeamPlace& place, int intervalMilliseconds, std::function<void()> published);
    void Stop();

    // From the window thread; none of them waits for the team folder.
    void Submit(Edit edit) override;
    void LookNow();
    std::optional<TTeamSnapshot> TakeSnapshot(long long seen) const override;

private:
    void Run(TTeamPlace place, int intervalMilliseconds);
    void Publish(const TTeamReplica& replica, bool reachable);

    IFileSystem& shared_;
    IFileSystem& local_;
    TTeamReplica::IdSource newId_;
    std::function<void()> published_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool lookNow_ = false;
    std::vector<Edit> edits_;
    TTeamSnapshot snapshot_;
    std::thread thread_;
};

} // namespace corvane
