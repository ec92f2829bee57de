// The team library's file work off the window thread: a share that hangs
// never holds up the caller, and each team folder keeps its own copy.
#include "editing/TeamSync.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/ShareClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace corvane::testing {
namespace {

using fakes::MemoryFileSystem;
using Clock = std::chrono::steady_clock;

// A share whose every call waits while `hanging` (an SMB reconnect).
class HangingShare : public IFileSystem {
public:
    explicit HangingShare(IFileSystem& inner) : inner_(inner) { }
    void Hang(bool on)
    {
        {
            std::lock_guard lock(mutex_);
            hanging_ = on;
        }
        released_.notify_all();
    }
    bool FileExists(const std::string& p) const override { return Wait(), inner_.FileExists(p); }
    bool DirExists(const std::string& p) const override { return Wait(), inner_.DirExists(p); }
    std::optional<std::string> ReadFile(const std::string& p) const override { return Wait(), inner_.ReadFile(p); }
    bool WriteFileReplacing(const std::string& p, const std::string& b) override
    {
        return Wait(), inner_.WriteFileReplacing(p, b);
    }
    bool CreateDir(const std::string& p) override { return Wait(), inner_.CreateDir(p); }
    bool CreateDirs(const std::string& p) override { return Wait(), inner_.CreateDirs(p); }
    bool Rename(const std::string& f, const std::string& t) override { return Wait(), inner_.Rename(f, t); }
    bool DeleteFile(const std::string& p) override { return Wait(), inner_.DeleteFile(p); }
    bool RemoveDir(const std::string& p) override { return Wait(), inner_.RemoveDir(p); }
    bool SetNormalAttributes(const std::string& p) override { return Wait(), inner_.SetNormalAttributes(p); }
    std::vector<DirEntry> List(const std::string& d) const override { return Wait(), inner_.List(d); }
    bool CreateNewFile(const std::string& p, const std::string& b) override
    {
        return Wait(), inner_.CreateNewFile(p, b);
    }
    std::optional<long long> LastWriteTime(const std::string& p) const override
    {
        return Wait(), inner_.LastWriteTime(p);
    }

    // Waits (up to 10 s) until a call is held up here.
    bool HoldsACall() const
    {
        std::unique_lock lock(mutex_);
        return released_.wait_for(lock, std::chrono::seconds(10), [this] { return waiting_ > 0; });
    }

private:
    void Wait() const
    {
        std::unique_lock lock(mutex_);
        ++waiting_;
        released_.notify_all();
        released_.wait(lock, [this] { return !hanging_; });
        --waiting_;
    }
    IFileSystem& inner_;
    mutable std::mutex mutex_;
    mutable std::condition_variable released_;
    bool hanging_ = false;
    mutable int waiting_ = 0;
};

// Waits (up to 10 s) for a snapshot `test` accepts.
template <typename Test> std::optional<TTeamSnapshot> WaitFor(const TTeamSync& sync, Test test)
{
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end) {
        if (std::optional<TTeamSnapshot> s = sync.TakeSnapshot(0); s && test(*s))
            return s;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}

TTeamEntryState Reply(const std::string& name)
{
    TTeamEntryState s;
    s.name = name;
    s.lines = {"{\\rtf1 " + name + "}"};
    return s;
}

struct SyncRig {
    SyncRig() : share(server, clock), hanging(share)
    {
        server.PutDir("\\\\srv\\a");
        server.PutDir("\\\\srv\\b");
        disk.PutDir("C:\\Copies");
    }
    TTeamPlace Place(const std::string& team) const { return {team, TeamCopyFolder("C:\\Copies", team), "PC1"}; }
    MemoryFileSystem server;
    MemoryFileSystem disk;
    long long clock = 0;
    fakes::ShareClient share;
    HangingShare hanging;
    std::atomic<int> ids{0};
    TTeamSync sync{hanging, disk, [this] { return "id" + std::to_string(++ids) + "-0000000000"; }};
};

TEST(TeamSync, AShareThatHangsHoldsUpNeitherChangesNorTheViewAndGetsTheChangeLater)
{
    SyncRig rig;
    rig.hanging.Hang(true);
    rig.sync.Start(rig.Place("\\\\srv\\a"), 5, nullptr);
    // The copy kept here is shown before the share has answered.
    ASSERT_TRUE(WaitFor(rig.sync, [](const TTeamSnapshot& s) { return !s.reachable; }));
    const auto before = Clock::now();
    rig.sync.Submit([](TTeamReplica& r) { (void)r.Add(Reply("Typed while the share hangs")); });
    rig.sync.LookNow();
    (void)rig.sync.TakeSnapshot(0);
    EXPECT_LT(Clock::now() - before, std::chrono::milliseconds(200));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(rig.server.NamesIn("\\\\srv\\a").empty());
    rig.hanging.Hang(false);
    EXPECT_TRUE(WaitFor(
        rig.sync, [](const TTeamSnapshot& s) { return s.reachable && s.unsent == 0 && s.view.entries.size() == 1; }));
    rig.sync.Stop();
    EXPECT_EQ(rig.server.NamesIn(TeamChangesFolder("\\\\srv\\a")).size(), 1u);
}

TEST(TeamSync, AnEditMadeWhileTheShareHangsAndTheProgramEndsIsKeptForTheNextStart)
{
    SyncRig rig;
    rig.hanging.Hang(true);
    rig.sync.Start(rig.Place("\\\\srv\\a"), 5, nullptr);
    ASSERT_TRUE(rig.hanging.HoldsACall());
    rig.sync.Submit([](TTeamReplica& r) { (void)r.Add(Reply("Saved just before exit")); });
    rig.share.reachable = false;
    std::thread reconnect([&rig] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        rig.hanging.Hang(false);
    });
    rig.sync.Stop();
    reconnect.join();
    rig.sync.Start(rig.Place("\\\\srv\\a"), 5, nullptr);
    EXPECT_TRUE(WaitFor(rig.sync, [](const TTeamSnapshot& s) {
        return s.unsent == 1 && s.view.entries.size() == 1 && s.view.entries[0].name == "Saved just before exit";
    }));
    rig.sync.Stop();
}

TEST(TeamSync, EachTeamFolderDeliversFromItsOwnCopyWhenItCannotBeReached)
{
    SyncRig rig;
    rig.sync.Start(rig.Place("\\\\srv\\a"), 5, nullptr);
    rig.sync.Submit([](TTeamReplica& r) { (void)r.Add(Reply("Team A's reply")); });
    ASSERT_TRUE(WaitFor(rig.sync, [](const TTeamSnapshot& s) { return s.reachable && s.unsent == 0; }));
    rig.share.reachable = false;
    rig.sync.Start(rig.Place("\\\\srv\\b"), 5, nullptr);
    auto b = WaitFor(rig.sync, [](const TTeamSnapshot& s) { return !s.reachable; });
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->view.entries.empty());
    rig.sync.Start(rig.Place("\\\\srv\\a"), 5, nullptr);
    auto a = WaitFor(rig.sync, [](const TTeamSnapshot& s) { return !s.view.entries.empty(); });
    ASSERT_TRUE(a);
    EXPECT_EQ(a->view.entries.at(0).name, "Team A's reply");
    EXPECT_NE(TeamCopyFolder("C:\\Copies", "\\\\srv\\a"), TeamCopyFolder("C:\\Copies", "\\\\srv\\b"));
    EXPECT_EQ(TeamCopyFolder("C:\\Copies", "\\\\SRV\\A"), TeamCopyFolder("C:\\Copies", "\\\\srv\\a"));
    rig.sync.Stop();
}

} // namespace
} // namespace corvane::testing
