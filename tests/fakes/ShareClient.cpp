#include "fakes/ShareClient.h"

namespace corvane::fakes {

const ShareClient::Info& ShareClient::InfoOf(const std::string& path) const
{
    const auto known = info_.find(MemoryFileSystem::Key(path));
    if (known != info_.end()) {
        const bool found = known->second.file || known->second.dir;
        const long long age = clock_ - known->second.at;
        if (age >= 0 && age < (found ? kInfoMilliseconds : kNotFoundMilliseconds))
            return known->second;
    }
    Info fresh{clock_, reachable && server_.FileExists(path), reachable && server_.DirExists(path),
        reachable ? server_.LastWriteTime(path) : std::nullopt};
    return info_[MemoryFileSystem::Key(path)] = fresh;
}

void ShareClient::Forget(const std::string& path)
{
    info_.erase(MemoryFileSystem::Key(path));
    listings_.erase(MemoryFileSystem::Key(MemoryFileSystem::Parent(path)));
}

bool ShareClient::FileExists(const std::string& path) const { return reachable && InfoOf(path).file; }
bool ShareClient::DirExists(const std::string& path) const { return reachable && InfoOf(path).dir; }

std::optional<long long> ShareClient::LastWriteTime(const std::string& path) const
{
    return reachable ? InfoOf(path).written : std::nullopt;
}

std::optional<std::string> ShareClient::ReadFile(const std::string& path) const
{
    return reachable ? server_.ReadFile(path) : std::nullopt;
}

std::vector<DirEntry> ShareClient::List(const std::string& dir) const
{
    if (!reachable)
        return {};
    const auto known = listings_.find(MemoryFileSystem::Key(dir));
    if (known != listings_.end() && clock_ - known->second.at >= 0 && clock_ - known->second.at < kListingMilliseconds)
        return known->second.entries;
    return (listings_[MemoryFileSystem::Key(dir)] = {clock_, server_.List(dir)}).entries;
}

bool ShareClient::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    Forget(path);
    return reachable && server_.WriteFileReplacing(path, bytes);
}

bool ShareClient::CreateNewFile(const std::string& path, const std::string& bytes)
{
    Forget(path);
    return reachable && server_.CreateNewFile(path, bytes);
}

bool ShareClient::CreateDir(const std::string& path)
{
    Forget(path);
    return reachable && server_.CreateDir(path);
}

bool ShareClient::CreateDirs(const std::string& path)
{
    Forget(path);
    return reachable && server_.CreateDirs(path);
}

bool ShareClient::Rename(const std::string& from, const std::string& to)
{
    Forget(from);
    Forget(to);
    return reachable && server_.Rename(from, to);
}

bool ShareClient::DeleteFile(const std::string& path)
{
    Forget(path);
    return reachable && server_.DeleteFile(path);
}

bool ShareClient::RemoveDir(const std::string& path)
{
    Forget(path);
    return reachable && server_.RemoveDir(path);
}

bool ShareClient::SetNormalAttributes(const std::string& path)
{
    return reachable && server_.SetNormalAttributes(path);
}

} // namespace corvane::fakes
