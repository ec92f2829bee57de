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
    if (Fails(failWrite, path)) {
        if (failedWriteLeavesTemp)
            LeaveTempBeside(path, bytes);
        return false;
    }
    changed.push_back(path);
    return inner_.WriteFileReplacing(path, bytes);
}

void FaultyFileSystem::LeaveTempBeside(const std::string& path, const std::string& bytes)
{
    const std::string temp = path.substr(0, path.find_last_of('\\') + 1) + "cvn" + std::to_string(++tempsLeft_) + ".tmp";
    (void)inner_.WriteFileReplacing(temp, bytes.substr(0, bytes.size() / 2));
}

bool FaultyFileSystem::CreateDir(const std::string& path)
{
    Touch(path);
    if (Fails(failCreate, path))
        return false;
    changed.push_back(path);
    return inner_.CreateDir(path);
}

bool FaultyFileSystem::CreateDirs(const std::string& path)
{
    Touch(path);
    if (Fails(failCreate, path))
        return false;
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
    if (Fails(failList, dir))
        return {};
    return inner_.List(dir);
}

bool FaultyFileSystem::IsLink(const std::string& path) const
{
    Touch(path);
    return inner_.IsLink(path);
}

} // namespace corvane::fakes
