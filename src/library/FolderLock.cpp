#include "library/FolderLock.h"

#include "library/UnitConsts.h"
#include "platform/FileSystem.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <random>
#include <thread>

namespace corvane {

namespace {

// Unique per holder across processes and computers: a random part drawn once
// per process, and a count within it.
std::string NewToken()
{
    static const unsigned long long processPart = [] {
        std::random_device random;
        return (static_cast<unsigned long long>(random()) << 32) ^ random()
            ^ static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    }();
    static std::atomic<unsigned long long> count{0};
    return std::to_string(processPart) + "-" + std::to_string(++count);
}

} // namespace

std::string LockPathIn(const std::string& dir) { return dir + "\\" + kLockFileName; }

TFolderLock::TFolderLock(IFileSystem& fs, const std::string& dir, const TLockPolicy& policy)
    : fs_(fs), path_(LockPathIn(dir)), token_(NewToken())
{
    for (int attempt = 0; attempt < policy.attempts; ++attempt) {
        if (TryCreate()) {
            held_ = true;
            return;
        }
        // Waiting does not bring back a folder that is gone.
        if (!fs_.DirExists(dir))
            return;
        if (TryTakeOverStale(policy.staleSeconds)) {
            held_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(policy.pauseMilliseconds));
    }
}

TFolderLock::~TFolderLock()
{
    // A holder whose lock was taken over as stale must not remove the new one.
    if (held_ && fs_.ReadFile(path_) == token_)
        (void)fs_.DeleteFile(path_);
}

bool TFolderLock::TryCreate() { return fs_.CreateNewFile(path_, token_); }

bool TFolderLock::TryTakeOverStale(long long staleSeconds)
{
    const std::optional<long long> written = fs_.LastWriteTime(path_);
    const long long now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
              .count();
    if (!written || now - *written < staleSeconds * 1000)
        return false;
    const std::optional<std::string> staleToken = fs_.ReadFile(path_);
    if (!staleToken)
        return false;
    // Renaming is one step: of several computers taking over, one wins. The
    // loser of a race may have renamed a lock that was just created fresh;
    // it puts that one back.
    // Set aside under a temporary's name, which the tidy clears should this
    // computer stop right here.
    const std::string aside
        = path_.substr(0, path_.find_last_of('\\') + 1) + kTempPrefix + "lock" + token_ + kTempExtension;
    if (!fs_.Rename(path_, aside))
        return false;
    if (fs_.ReadFile(aside) != staleToken) {
        (void)fs_.Rename(aside, path_);
        return false;
    }
    (void)fs_.DeleteFile(aside);
    return TryCreate();
}

} // namespace corvane
