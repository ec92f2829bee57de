#include "fakes/MemoryFileSystem.h"

#include <algorithm>
#include <chrono>

namespace corvane::fakes {

std::string MemoryFileSystem::Key(const std::string& path)
{
    std::string k = path;
    for (char& c : k)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return k;
}

std::string MemoryFileSystem::Parent(const std::string& path)
{
    const size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string MemoryFileSystem::Resolve(const std::string& path) const
{
    const std::string key = Key(path);
    for (const auto& [link, target] : links_)
        if (key.rfind(link + "\\", 0) == 0)
            return target + path.substr(link.size());
    return path;
}

void MemoryFileSystem::Touch(const std::string& path) const
{
    if (checkPath)
        checkPath(path);
    touched.push_back(path);
}

const MemoryFileSystem::Entry* MemoryFileSystem::Find(
    const std::map<std::string, Entry>& m, const std::string& path) const
{
    const auto it = m.find(Key(Resolve(path)));
    return it == m.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::FileExists(const std::string& path) const
{
    Touch(path);
    return Find(files_, path) != nullptr;
}

bool MemoryFileSystem::DirExists(const std::string& path) const
{
    Touch(path);
    return Find(dirs_, path) != nullptr || links_.count(Key(path)) != 0;
}

bool MemoryFileSystem::IsLink(const std::string& path) const
{
    Touch(path);
    ++linkChecks;
    return links_.count(Key(path)) != 0;
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) const
{
    Touch(path);
    reads.push_back(path);
    if (Fails(failRead, path))
        return std::nullopt;
    if (const Entry* e = Find(files_, path))
        return e->bytes;
    if (!supply || Find(dirs_, path))
        return std::nullopt;
    std::optional<std::string> bytes = supply(path);
    if (bytes) {
        AddDirs(Parent(path));
        files_[Key(path)] = {path, *bytes};
    }
    return bytes;
}

bool MemoryFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    Touch(path);
    ++writeCount;
    if (Fails(failWrite, path)) {
        if (failedWriteLeavesTemp)
            LeaveTempBeside(path, bytes);
        return false;
    }
    const std::string real = Resolve(path);
    const Entry* old = Find(files_, real);
    if (!Find(dirs_, Parent(real)) || Find(dirs_, real) || (old && old->readOnly) || (old && Fails(heldOpen, path)))
        return false;
    changed.push_back(path);
    // A replaced file keeps the name it had.
    files_[Key(real)] = {old ? old->path : real, bytes, false, NextWriteTime()};
    return true;
}

bool MemoryFileSystem::CreateNewFile(const std::string& path, const std::string& bytes)
{
    Touch(path);
    if (Fails(failWrite, path))
        return false;
    const std::string real = Resolve(path);
    if (!Find(dirs_, Parent(real)) || Find(dirs_, real) || Find(files_, real))
        return false;
    changed.push_back(path);
    files_[Key(real)] = {real, bytes, false, NextWriteTime()};
    return true;
}

std::optional<long long> MemoryFileSystem::LastWriteTime(const std::string& path) const
{
    Touch(path);
    if (Fails(failRead, path))
        return std::nullopt;
    if (const Entry* e = Find(files_, Resolve(path)))
        return e->written;
    if (const Entry* d = Find(dirs_, Resolve(path)))
        return d->written;
    return std::nullopt;
}

long long MemoryFileSystem::NextWriteTime() const
{
    const long long now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
              .count();
    lastWrite_ = std::max(now, lastWrite_ + 1);
    return lastWrite_;
}

void MemoryFileSystem::RemoveFile(const std::string& path) { files_.erase(Key(Resolve(path))); }

void MemoryFileSystem::SetWriteTime(const std::string& path, long long milliseconds)
{
    files_.at(Key(path)).written = milliseconds;
}

void MemoryFileSystem::LeaveTempBeside(const std::string& path, const std::string& bytes)
{
    const std::string real = Resolve(path);
    if (Find(dirs_, Parent(real)))
        PutFile(Parent(real) + "\\cvn" + std::to_string(++tempsLeft_) + ".tmp", bytes.substr(0, bytes.size() / 2));
}

bool MemoryFileSystem::CreateDir(const std::string& path)
{
    Touch(path);
    if (Fails(failCreate, path))
        return false;
    const std::string real = Resolve(path);
    const std::string parent = Parent(real);
    if ((!parent.empty() && !Find(dirs_, parent)) || Find(dirs_, real) || Find(files_, real))
        return false;
    changed.push_back(path);
    dirs_[Key(real)] = {real, {}};
    return true;
}

bool MemoryFileSystem::CreateDirs(const std::string& path)
{
    Touch(path);
    if (Fails(failCreate, path))
        return false;
    const std::string real = Resolve(path);
    if (Find(dirs_, real))
        return true;
    // Every missing folder on the way; none may be a file.
    for (std::string dir = real; !dir.empty(); dir = Parent(dir))
        if (Find(files_, dir))
            return false;
    changed.push_back(path);
    AddDirs(real);
    return true;
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to)
{
    Touch(from);
    Touch(to);
    if (Fails(failRename, from) || Fails(heldOpen, from))
        return false;
    const std::string realFrom = Resolve(from), realTo = Resolve(to);
    if (Find(files_, realTo) || Find(dirs_, realTo) || !Find(dirs_, Parent(realTo)))
        return false;
    if (const Entry* f = Find(files_, realFrom)) {
        Entry moved{realTo, f->bytes, f->readOnly, f->written};
        files_.erase(Key(realFrom));
        files_[Key(realTo)] = moved;
    } else {
        if (!Find(dirs_, realFrom) || Key(realTo).rfind(Key(realFrom) + "\\", 0) == 0)
            return false;
        MoveUnder(dirs_, realFrom, realTo);
        MoveUnder(files_, realFrom, realTo);
    }
    changed.push_back(from);
    changed.push_back(to);
    return true;
}

bool MemoryFileSystem::DeleteFile(const std::string& path)
{
    Touch(path);
    if (Fails(failDelete, path))
        return false;
    const Entry* e = Find(files_, path);
    if (!e || e->readOnly || Fails(heldOpen, path))
        return false;
    changed.push_back(path);
    files_.erase(Key(Resolve(path)));
    return true;
}

bool MemoryFileSystem::RemoveDir(const std::string& path)
{
    Touch(path);
    if (Fails(failDelete, path))
        return false;
    // A link goes by itself, whatever its target holds.
    if (links_.erase(Key(path)) != 0) {
        changed.push_back(path);
        return true;
    }
    if (!Find(dirs_, path) || !Entries(path).empty())
        return false;
    changed.push_back(path);
    dirs_.erase(Key(Resolve(path)));
    return true;
}

bool MemoryFileSystem::SetNormalAttributes(const std::string& path)
{
    Touch(path);
    const auto it = files_.find(Key(Resolve(path)));
    if (it != files_.end())
        it->second.readOnly = false;
    return it != files_.end() || Find(dirs_, path) != nullptr;
}

std::vector<DirEntry> MemoryFileSystem::List(const std::string& dir) const
{
    Touch(dir);
    ++listCount;
    if (Fails(failList, dir))
        return {};
    return Entries(dir);
}

std::vector<DirEntry> MemoryFileSystem::Entries(const std::string& dir) const
{
    const auto link = links_.find(Key(dir));
    const std::string real = link != links_.end() ? link->second : Resolve(dir);
    std::vector<DirEntry> out;
    const std::string prefix = Key(real) + "\\";
    auto collect = [&](const std::map<std::string, Entry>& m, bool isDir) {
        for (auto it = m.lower_bound(prefix); it != m.end() && it->first.rfind(prefix, 0) == 0; ++it) {
            if (it->first.find('\\', prefix.size()) != std::string::npos)
                continue;
            DirEntry entry{.name = it->second.path.substr(prefix.size()), .isDir = isDir};
            if (!isDir && listsSizes)
                entry.size = it->second.bytes.size();
            if (!isDir && listsWriteTimes)
                entry.lastWriteTime = it->second.written;
            out.push_back(std::move(entry));
        }
    };
    collect(dirs_, true);
    collect(files_, false);
    for (const auto& [key, target] : links_)
        if (key.rfind(prefix, 0) == 0 && key.find('\\', prefix.size()) == std::string::npos)
            out.push_back({.name = key.substr(prefix.size()), .isDir = true, .isLink = true});
    return out;
}

void MemoryFileSystem::PutFile(const std::string& path, const std::string& bytes)
{
    AddDirs(Parent(path));
    files_[Key(path)] = {path, bytes, false, NextWriteTime()};
}

void MemoryFileSystem::SetReadOnly(const std::string& path) { files_.at(Key(path)).readOnly = true; }

void MemoryFileSystem::PutLink(const std::string& path, const std::string& target)
{
    AddDirs(Parent(path));
    links_[Key(path)] = target;
}

std::optional<std::string> MemoryFileSystem::Peek(const std::string& path) const
{
    const Entry* e = Find(files_, path);
    return e ? std::optional<std::string>(e->bytes) : std::nullopt;
}

bool MemoryFileSystem::Has(const std::string& path) const
{
    return Find(files_, path) || Find(dirs_, path) || links_.count(Key(path));
}

std::vector<std::string> MemoryFileSystem::NamesIn(const std::string& dir) const
{
    std::vector<std::string> names;
    for (const DirEntry& entry : Entries(dir))
        names.push_back(entry.name);
    return names;
}

std::map<std::string, std::string> MemoryFileSystem::Files() const
{
    std::map<std::string, std::string> out;
    for (const auto& [key, e] : files_)
        out[key] = e.bytes;
    return out;
}

std::vector<std::string> MemoryFileSystem::AllPaths() const
{
    std::vector<std::string> out;
    for (const auto& m : {&dirs_, &files_})
        for (const auto& [key, e] : *m)
            out.push_back(e.path);
    return out;
}

// Folders on the way to a file, as a copied library has them.
void MemoryFileSystem::AddDirs(const std::string& path) const
{
    for (std::string dir = path; !dir.empty() && !dirs_.count(Key(dir)); dir = Parent(dir))
        dirs_[Key(dir)] = {dir, {}};
}

void MemoryFileSystem::MoveUnder(std::map<std::string, Entry>& m, const std::string& from, const std::string& to)
{
    const std::string fromKey = Key(from);
    std::vector<std::pair<std::string, Entry>> moved;
    for (auto it = m.begin(); it != m.end();) {
        if (it->first == fromKey || it->first.rfind(fromKey + "\\", 0) == 0) {
            moved.emplace_back(Key(to) + it->first.substr(fromKey.size()),
                Entry{to + it->second.path.substr(from.size()), it->second.bytes, it->second.readOnly,
                    it->second.written});
            it = m.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [k, e] : moved)
        m[k] = e;
}

} // namespace corvane::fakes
