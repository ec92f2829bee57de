#include "library/SharedWatch.h"

#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"

#include <algorithm>

namespace corvane {

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

std::string ParentOf(const std::string& path)
{
    const size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool IsReplyFileName(const std::string& name)
{
    const std::string extension = kReplyExtension;
    return name.size() > extension.size() && Lower(name.substr(name.size() - extension.size())) == extension;
}

// The folder's state and the folders its index names.
TFolderState ReadFolderState(const IFileSystem& fs, const std::string& dir, std::vector<std::string>& folders)
{
    TFolderState state;
    state.index = fs.ReadFile(IndexPathIn(dir));
    if (!state.index)
        return state;
    for (const std::string& line : SplitTextLines(*state.index)) {
        const IndexLine parts = SplitIndexLine(line);
        if (!IsPlainPathComponent(parts.number))
            continue;
        if (SameTextIgnoringCase(parts.prefix, kFolderPrefix)) {
            folders.push_back(dir + "\\" + parts.number);
        } else if (SameTextIgnoringCase(parts.prefix, kReplyPrefix)) {
            const std::string file = parts.number + kReplyExtension;
            state.replyTimes[Lower(file)] = fs.LastWriteTime(dir + "\\" + file).value_or(-1);
        }
    }
    return state;
}

// `dir` and everything reached from its index, into `snapshot`.
void AddFolderTree(const IFileSystem& fs, const std::string& dir, int depth, TLibrarySnapshot& snapshot)
{
    std::vector<std::string> folders;
    snapshot[Lower(dir)] = ReadFolderState(fs, dir, folders);
    if (depth >= TRepList::kMaxFolderDepth)
        return;
    for (const std::string& folder : folders)
        if (!fs.IsLink(folder) && !snapshot.count(Lower(folder)))
            AddFolderTree(fs, folder, depth + 1, snapshot);
}

} // namespace

std::optional<TLibrarySnapshot> TakeSnapshot(const IFileSystem& fs, const std::string& root)
{
    TLibrarySnapshot snapshot;
    AddFolderTree(fs, root, 0, snapshot);
    if (!snapshot[Lower(root)].index)
        return std::nullopt;
    return snapshot;
}

std::vector<std::string> ChangedFolders(const TLibrarySnapshot& before, const TLibrarySnapshot& after)
{
    std::vector<std::string> changed;
    for (const auto& folder : after) {
        const std::string& dir = folder.first;
        const auto was = before.find(dir);
        if (was != before.end() && was->second == folder.second)
            continue;
        // The map is sorted, so a folder comes after the folder holding it.
        const bool inside = std::any_of(changed.begin(), changed.end(),
            [&dir](const std::string& outer) { return dir.rfind(outer + "\\", 0) == 0; });
        if (!inside)
            changed.push_back(dir);
    }
    return changed;
}

bool TSharedWatch::Watch(const std::string& root)
{
    root_ = root;
    known_.clear();
    if (root_.empty())
        return false;
    std::optional<TLibrarySnapshot> now = TakeSnapshot(inner_, root_);
    if (now)
        known_ = std::move(*now);
    return now.has_value();
}

std::optional<std::vector<std::string>> TSharedWatch::Look()
{
    std::optional<TLibrarySnapshot> now = TakeSnapshot(inner_, root_);
    if (!now)
        return std::nullopt;
    std::vector<std::string> changed = ChangedFolders(known_, *now);
    known_ = std::move(*now);
    // Paths as this computer spells them: the root's own spelling and the
    // numbers below it.
    for (std::string& dir : changed)
        dir = root_ + dir.substr(root_.size());
    return changed;
}

bool TSharedWatch::Watched(const std::string& path) const { return !root_.empty() && IsAtOrBelow(path, root_); }

void TSharedWatch::NoteFile(const std::string& path)
{
    if (!Watched(path))
        return;
    const std::string dir = ParentOf(path);
    const auto folder = known_.find(Lower(dir));
    if (folder == known_.end())
        return;
    const std::string name = Lower(LastComponent(path));
    if (name == kIndexFileName)
        folder->second.index = inner_.ReadFile(path);
    else if (IsReplyFileName(name) && inner_.FileExists(path))
        folder->second.replyTimes[name] = inner_.LastWriteTime(path).value_or(-1);
    else if (IsReplyFileName(name))
        folder->second.replyTimes.erase(name);
}

void TSharedWatch::NoteFolder(const std::string& dir)
{
    if (Watched(dir) && inner_.DirExists(dir))
        AddFolderTree(inner_, dir, 0, known_);
}

void TSharedWatch::ForgetFolder(const std::string& dir)
{
    const std::string key = Lower(dir);
    std::erase_if(
        known_, [&key](const auto& entry) { return entry.first == key || entry.first.rfind(key + "\\", 0) == 0; });
}

bool TSharedWatch::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    const bool written = inner_.WriteFileReplacing(path, bytes);
    NoteFile(path);
    return written;
}

bool TSharedWatch::CreateDir(const std::string& path)
{
    const bool created = inner_.CreateDir(path);
    NoteFolder(path);
    return created;
}

bool TSharedWatch::CreateDirs(const std::string& path)
{
    const bool created = inner_.CreateDirs(path);
    NoteFolder(path);
    return created;
}

bool TSharedWatch::Rename(const std::string& from, const std::string& to)
{
    const bool folder = inner_.DirExists(from);
    const bool renamed = inner_.Rename(from, to);
    if (folder) {
        ForgetFolder(from);
        NoteFolder(to);
    } else {
        NoteFile(from);
        NoteFile(to);
    }
    return renamed;
}

bool TSharedWatch::DeleteFile(const std::string& path)
{
    const bool deleted = inner_.DeleteFile(path);
    NoteFile(path);
    return deleted;
}

bool TSharedWatch::RemoveDir(const std::string& path)
{
    const bool removed = inner_.RemoveDir(path);
    if (removed)
        ForgetFolder(path);
    return removed;
}

} // namespace corvane
