#include "fakes/FaultyFileSystem.h"

namespace corvane::fakes {

bool FaultyFileSystem::FileExists(const std::string& path) const
{
    Touch(path);
    return inner_.FileExists(path);
}

bool FaultyFileSystem::DirExists(const std::string& path) const
{
    Touch(path);
    return inner_.DirExists(path);
}

std::optional<std::string> FaultyFileSystem::ReadFile(const std::string& path) const
{
    Touch(path);
    if (Fails(failRead, path))
        return std::nullopt;
    return inner_.ReadFile(path);
}

bool FaultyFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    Touch(path);
    ++writeCount;
    if (Fails(failWrite, path))
        return false;
    changed.push_back(path);
    return inner_.WriteFileReplacing(path, bytes);
}

bool FaultyFileSystem::CreateDir(const std::string& path)
{
    Touch(path);
    changed.push_back(path);
    return inner_.CreateDir(path);
}

bool FaultyFileSystem::CreateDirs(const std::string& path)
{
    Touch(path);
    changed.push_back(path);
    return inner_.CreateDirs(path);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to)
{
    Touch(from);
    Touch(to);
    if (Fails(failRename, from))
        return false;
    changed.push_back(from);
    changed.push_back(to);
    return inner_.Rename(from, to);
}

bool FaultyFileSystem::DeleteFile(const std::string& path)
{
    Touch(path);
    if (Fails(failDelete, path))
        return false;
    changed.push_back(path);
    return inner_.DeleteFile(path);
}

bool FaultyFileSystem::RemoveDir(const std::string& path)
{
    Touch(path);
    if (Fails(failDelete, path))
        return false;
    changed.push_back(path);
    return inner_.RemoveDir(path);
}

bool FaultyFileSystem::SetNormalAttributes(const std::string& path)
{
    Touch(path);
    return inner_.SetNormalAttributes(path);
}

std::vector<DirEntry> FaultyFileSystem::List(const std::string& dir) const
{
    Touch(dir);
    return inner_.List(dir);
}

bool FaultyFileSystem::IsLink(const std::string& path) const
{
    Touch(path);
    return inner_.IsLink(path);
}

} // namespace corvane::fakes
