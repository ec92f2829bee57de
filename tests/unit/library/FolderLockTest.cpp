#include "fakes/NativeFileSystem.h"
#include "library/FolderLock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <mutex>
#include <thread>

namespace corvane {
namespace {

// The lock works across processes and computers, so it is proven on the disk.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-lock-XXXXXX").string();
        base_ = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(base_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Posix(const std::string& relative) const { return base_ + "/" + relative; }
    std::string Win(const std::string& relative) const
    {
        return fakes::ToWindowsPath(relative.empty() ? base_ : Posix(relative));
    }
    void Write(const std::string& relative, const std::string& bytes) const
    {
        std::ofstream(Posix(relative), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) const
    {
        std::ifstream in(Posix(relative), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(Posix(relative)); }
    std::string Listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(base_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string text;
        for (const auto& name : names)
            text += (text.empty() ? "" : " ") + name;
        return text;
    }

private:
    std::string base_;
};

struct FolderLockTest : ::testing::Test {
    TempDir dir;
    fakes::NativeFileSystem fs;
    std::string folder = dir.Win("");
    TLockPolicy quick{3, 10, 20};

    void AgeLockFile(int seconds) const
    {
        std::filesystem::last_write_time(
            dir.Posix("index.lck"), std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
    }
};

TEST_F(FolderLockTest, OneHolderAtATimeAndTheFileGoesWithTheLastHolder)
{
    {
        TFolderLock first(fs, folder, quick);
        ASSERT_TRUE(first.Held());
        TFolderLock second(fs, folder, quick);
        EXPECT_FALSE(second.Held());
        EXPECT_TRUE(dir.Exists("index.lck"));
    }
    EXPECT_FALSE(dir.Exists("index.lck"));
    TFolderLock again(fs, folder, quick);
    EXPECT_TRUE(again.Held());
}

TEST_F(FolderLockTest, AStaleLockIsTakenOverAndItsFormerHolderLeavesTheNewOneAlone)
{
    std::optional<TFolderLock> gone;
    gone.emplace(fs, folder, quick);
    ASSERT_TRUE(gone->Held());
    AgeLockFile(quick.staleSeconds - 5);
    EXPECT_FALSE(TFolderLock(fs, folder, quick).Held()) << "a lock younger than the stale age is respected";

    AgeLockFile(quick.staleSeconds + 5);
    TFolderLock taker(fs, folder, quick);
    ASSERT_TRUE(taker.Held());
    gone.reset();
    EXPECT_TRUE(dir.Exists("index.lck"));
    EXPECT_FALSE(TFolderLock(fs, folder, quick).Held());
    EXPECT_EQ(dir.Listing(), "index.lck");
}

TEST_F(FolderLockTest, AFolderThatTakesNoFilesIsRefusedWithoutWaiting)
{
    const auto start = std::chrono::steady_clock::now();
    TFolderLock lock(fs, dir.Win("missing"), TLockPolicy{50, 100, 20});
    EXPECT_FALSE(lock.Held());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// Several writers counting in one file: each count is a read-modify-write
// under the lock, so none is lost.
TEST_F(FolderLockTest, ReadModifyWritesUnderTheLockLoseNothing)
{
    constexpr int kWriters = 4;
    constexpr int kCounts = 50;
    dir.Write("count", "0");
    std::vector<std::thread> writers;
    int failures = 0;
    std::mutex failuresMutex;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&] {
            fakes::NativeFileSystem own;
            for (int i = 0; i < kCounts; ++i) {
                // Patient: on a loaded machine a holder can be descheduled for
                // a long while, and what counts here is that no count is lost.
                TFolderLock lock(own, folder, TLockPolicy{20000, 1, 20});
                if (!lock.Held()) {
                    std::lock_guard<std::mutex> guard(failuresMutex);
                    ++failures;
                    continue;
                }
                const int count = std::stoi(own.ReadFile(folder + "\\count").value_or("0"));
                std::this_thread::yield();
                (void)own.WriteFileReplacing(folder + "\\count", std::to_string(count + 1));
            }
        });
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(dir.Read("count"), std::to_string(kWriters * kCounts));
}

} // namespace
} // namespace corvane
