#pragma once
// One computer's view of a Windows file share (the server is a
// MemoryFileSystem that several ShareClients reach): like the SMB client it
// keeps what it learnt about a file (exists, write time) for 10 s, "not
// found" for 5 s and a directory listing for 10 s, by this computer's own
// clock; its own writes refresh what it knows of those paths. The server
// refuses to replace a file some client holds open without delete sharing
// (MemoryFileSystem::heldOpen). A share that vanishes is `reachable = false`.
#include "fakes/MemoryFileSystem.h"

#include <atomic>
#include <map>
#include <string>

namespace corvane::fakes {

class ShareClient : public IFileSystem {
public:
    ShareClient(MemoryFileSystem& server, const long long& clock) : server_(server), clock_(clock) { }

    std::atomic<bool> reachable = true; // set by a test while a sync thread reads it

    bool FileExists(const std::string& path) const override;
    bool DirExists(const std::string& path) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFileReplacing(const std::string& path, const std::string& bytes) override;
    bool CreateDir(const std::string& path) override;
    bool CreateDirs(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override;
    std::vector<DirEntry> List(const std::string& dir) const override;
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    std::optional<long long> LastWriteTime(const std::string& path) const override;

    static constexpr long long kInfoMilliseconds = 10000;
    static constexpr long long kNotFoundMilliseconds = 5000;
    static constexpr long long kListingMilliseconds = 10000;

private:
    struct Info {
        long long at;
        bool file;
        bool dir;
        std::optional<long long> written;
    };
    struct Listing {
        long long at;
        std::vector<DirEntry> entries;
    };
    const Info& InfoOf(const std::string& path) const;
    void Forget(const std::string& path);

    MemoryFileSystem& server_;
    const long long& clock_;
    mutable std::map<std::string, Info> info_;
    mutable std::map<std::string, Listing> listings_;
};

} // namespace corvane::fakes
