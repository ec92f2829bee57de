#pragma once
// A short lock on one library folder that holds across computers sharing it:
// the lock is a file created only when none exists (an atomic step on a
// network share or a synced drive), so an index can be read, changed and
// written back by one writer at a time.
#include <string>

namespace corvane {

class IFileSystem;

struct TLockPolicy {
    int attempts = 60; // tries, with a pause after each refusal
    int pauseMilliseconds = 50;
    // A lock file this old belongs to a holder that is gone (a lock is held
    // for a few file operations); it is taken over. Generous, since the age
    // is measured against the file server's clock.
    long long staleSeconds = 20;
};

// Holds the lock from construction (when Held()) until destruction.
class TFolderLock {
public:
    TFolderLock(IFileSystem& fs, const std::string& dir, const TLockPolicy& policy = {});
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    [[nodiscard]] bool Held() const { return held_; }
    const std::string& Path() const { return path_; }

private:
    bool TryCreate();
    bool TryTakeOverStale(long long staleSeconds);

    IFileSystem& fs_;
    std::string path_;
    std::string token_; // what this holder wrote into the lock file
    bool held_ = false;
};

// <dir>\index.lck
std::string LockPathIn(const std::string& dir);

} // namespace corvane
