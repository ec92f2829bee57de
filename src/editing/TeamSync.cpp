#include "editing/TeamSync.h"

#include "library/TextUtils.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace corvane {

std::string NewTeamEntryId()
{
    static std::mutex mutex;
    static std::random_device device;
    std::lock_guard lock(mutex);
    std::string id;
    for (int i = 0; i < 4; ++i) {
        uint32_t bits = device();
        for (int j = 0; j < 8; ++j, bits >>= 4)
            id += "0123456789abcdef"[bits & 15];
    }
    return id;
}

std::string TeamCopyFolder(const std::string& copiesRoot, const std::string& teamFolder)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : teamFolder)
        hash = (hash ^ static_cast<unsigned char>(ToLowerAnsi(c))) * 1099511628211ull;
    std::string name;
    for (int i = 0; i < 16; ++i, hash >>= 4)
        name += "0123456789abcdef"[hash & 15];
    return copiesRoot + "\\" + name;
}

TTeamSync::TTeamSync(IFileSystem& shared, IFileSystem& local, TTeamReplica::IdSource newId)
    : shared_(shared), local_(local), newId_(std::move(newId))
{ }

TTeamSync::~TTeamSync() { Stop(); }

void TTeamSync::Start(const TTeamPlace& place, int intervalMilliseconds, std::function<void()> published)
{
    Stop();
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
        lookNow_ = false;
        edits_.clear();
        snapshot_ = {{}, false, 0, snapshot_.serial};
    }
    published_ = std::move(published);
    thread_ = std::thread([this, place, intervalMilliseconds] { Run(place, intervalMilliseconds); });
}

void TTeamSync::Stop()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void TTeamSync::Submit(Edit edit)
{
    {
        std::lock_guard lock(mutex_);
        edits_.push_back(std::move(edit));
    }
    wake_.notify_all();
}

void TTeamSync::LookNow()
{
    {
        std::lock_guard lock(mutex_);
        lookNow_ = true;
    }
    wake_.notify_all();
}

std::optional<TTeamSnapshot> TTeamSync::TakeSnapshot(long long seen) const
{
    std::lock_guard lock(mutex_);
    if (snapshot_.serial <= seen)
        return std::nullopt;
    return snapshot_;
}

void TTeamSync::Publish(const TTeamReplica& replica, bool reachable)
{
    {
        std::lock_guard lock(mutex_);
        snapshot_ = {replica.View(), reachable, replica.Unsent(), snapshot_.serial + 1};
    }
    if (published_)
        published_();
}

void TTeamSync::Run(TTeamPlace place, int intervalMilliseconds)
{
    TTeamReplica replica(local_, place.copyFolder, place.computerName, newId_);
    (void)replica.Open();
    // What this computer kept is shown (and delivered) before the team
    // folder has answered.
    bool reachable = false;
    Publish(replica, reachable);
    for (;;) {
        std::vector<Edit> edits;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, std::chrono::milliseconds(intervalMilliseconds),
                [this] { return stop_ || lookNow_ || !edits_.empty(); });
            edits.swap(edits_);
            if (stop_) {
                // Edits made up to the end (exit, another folder chosen) go
                // into this computer's copy, to be sent at the next start.
                lock.unlock();
                for (Edit& edit : edits)
                    edit(replica);
                return;
            }
            lookNow_ = false;
        }
        for (Edit& edit : edits)
            edit(replica);
        if (!edits.empty())
            Publish(replica, reachable);
        const TTeamExchange exchange = replica.Exchange(shared_, place.teamFolder);
        if (exchange.arrived > 0 || exchange.takenIn > 0 || exchange.foldsArrived || exchange.sent > 0
            || exchange.reachable != reachable) {
            reachable = exchange.reachable;
            Publish(replica, reachable);
        }
    }
}

} // namespace corvane
