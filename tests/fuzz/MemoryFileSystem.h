#pragma once
// A Windows-like file system in memory (names compare without regard to
// case), fast enough for a fuzzer's hundreds of thousands of runs. Every
// path it is handed goes through `checkPath` first, and a read of a missing
// file can be answered by `supply`, so the input decides what any file the
// code asks for holds.
#include "platform/FileSystem.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvane::fuzz {

class MemoryFileSystem : public IFileSystem {
public:
    std::function<void(const std::string& path)> checkPath;
    std::function<std::optional<std::string>(const std::string& path)> supply;

    bool FileExists(const std::string& path) const override { return Find(files_, path) != nullptr; }
    bool DirExists(const std::string& path) const override { return Find(dirs_, path) != nullptr; }

    std::optional<std::string> ReadFile(const std::string& path) const override
    {
        if (const Entry* e = Find(files_, path))
            return e->bytes;
        if (!supply || DirExists(path))
            return std::nullopt;
        std::optional<std::string> bytes = supply(path);
        if (bytes) {
            AddDirs(Parent(path));
            files_[Key(path)] = {path, *bytes};
        }
        return bytes;
    }

    bool WriteFileReplacing(const std::string& path, const std::string& bytes) override
    {
        Check(path);
        if (!DirExists(Parent(path)) || DirExists(path))
            return false;
        files_[Key(path)] = {path, bytes};
        return true;
    }

    bool CreateDir(const std::string& path) override
    {
        Check(path);
        const std::string parent = Parent(path);
        if ((!parent.empty() && !DirExists(parent)) || DirExists(path) || FileExists(path))
            return false;
        dirs_[Key(path)] = {path, {}};
        return true;
    }

    bool CreateDirs(const std::string& path) override
    {
        if (DirExists(path))
            return true;
        const std::string parent = Parent(path);
        if (!parent.empty() && !DirExists(parent) && !CreateDirs(parent))
            return false;
        return CreateDir(path);
    }

    bool Rename(const std::string& from, const std::string& to) override
    {
        Check(from);
        Check(to);
        if (FileExists(to) || DirExists(to) || !DirExists(Parent(to)))
            return false;
        if (const Entry* f = Find(files_, from)) {
            Entry moved{to, f->bytes};
            files_.erase(Key(from));
            files_[Key(to)] = moved;
            return true;
        }
        if (!DirExists(from) || Key(to).rfind(Key(from) + "\\", 0) == 0)
            return false;
        MoveUnder(dirs_, from, to);
        MoveUnder(files_, from, to);
        return true;
    }

    bool DeleteFile(const std::string& path) override
    {
        Check(path);
        return files_.erase(Key(path)) != 0;
    }

    bool RemoveDir(const std::string& path) override
    {
        if (!DirExists(path) || !List(path).empty())
            return false;
        dirs_.erase(Key(path));
        return true;
    }

    bool SetNormalAttributes(const std::string& path) override { return FileExists(path) || DirExists(path); }

    bool CreateNewFile(const std::string& path, const std::string& bytes) override
    {
        return !FileExists(path) && !DirExists(path) && WriteFileReplacing(path, bytes);
    }

    // Time does not pass here.
    std::optional<long long> LastWriteTime(const std::string& path) const override
    {
        return FileExists(path) || DirExists(path) ? std::optional<long long>(0) : std::nullopt;
    }

    std::vector<DirEntry> List(const std::string& dir) const override
    {
        Check(dir);
        std::vector<DirEntry> out;
        const std::string prefix = Key(dir) + "\\";
        auto collect = [&](const std::map<std::string, Entry>& m, bool isDir) {
            for (auto it = m.lower_bound(prefix); it != m.end() && it->first.rfind(prefix, 0) == 0; ++it)
                if (it->first.find('\\', prefix.size()) == std::string::npos)
                    out.push_back({it->second.path.substr(prefix.size()), isDir});
        };
        collect(dirs_, true);
        collect(files_, false);
        return out;
    }

    // Every file, by its path as written, for comparing two states.
    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> out;
        for (const auto& [key, e] : files_)
            out[key] = e.bytes;
        return out;
    }

    static std::string Parent(const std::string& path)
    {
        const size_t cut = path.find_last_of('\\');
        return cut == std::string::npos ? std::string() : path.substr(0, cut);
    }

private:
    struct Entry {
        std::string path;
        std::string bytes;
    };

    // Folders on the way to a supplied file, as a copied library has them.
    void AddDirs(const std::string& path) const
    {
        for (std::string dir = path; !dir.empty() && !dirs_.count(Key(dir)); dir = Parent(dir))
            dirs_[Key(dir)] = {dir, {}};
    }

    static std::string Key(const std::string& path)
    {
        std::string k = path;
        for (char& c : k)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return k;
    }

    const Entry* Find(const std::map<std::string, Entry>& m, const std::string& path) const
    {
        Check(path);
        const auto it = m.find(Key(path));
        return it == m.end() ? nullptr : &it->second;
    }

    void Check(const std::string& path) const
    {
        if (checkPath)
            checkPath(path);
    }

    static void MoveUnder(std::map<std::string, Entry>& m, const std::string& from, const std::string& to)
    {
        const std::string fromKey = Key(from);
        std::vector<std::pair<std::string, Entry>> moved;
        for (auto it = m.begin(); it != m.end();) {
            if (it->first == fromKey || it->first.rfind(fromKey + "\\", 0) == 0) {
                moved.emplace_back(Key(to) + it->first.substr(fromKey.size()),
                    Entry{to + it->second.path.substr(from.size()), it->second.bytes});
                it = m.erase(it);
            } else {
                ++it;
            }
        }
        for (auto& [k, e] : moved)
            m[k] = e;
    }

    mutable std::map<std::string, Entry> files_;
    mutable std::map<std::string, Entry> dirs_;
};

} // namespace corvane::fuzz
