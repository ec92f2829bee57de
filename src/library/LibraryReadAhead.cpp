#include "library/LibraryReadAhead.h"

#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Trace.h"

#include <string_view>

namespace corvane {

namespace {

struct TReading {
    const IFileSystem& fs;
    const std::function<void(size_t)>& filesRead;
    TReadAheadSources from;
    std::string rootPrefix; // "<root>\"
    TLibraryRead result;

    void Keep(const std::string& path, std::optional<std::string> bytes)
    {
        result.files.emplace(path, std::move(bytes));
        if (filesRead)
            filesRead(result.files.size());
    }

    bool TidyWentInto(const std::string& directory) const
    {
        return from.folders && from.folders->count(directory) != 0;
    }
    // What the tidy found in `directory`, taken out: a folder listed twice
    // in an index is read from the disk the second time, as loading does.
    std::optional<TFolderRead> TakeTidied(const std::string& directory)
    {
        if (!from.folders)
            return std::nullopt;
        auto found = from.folders->extract(directory);
        return found ? std::optional(std::move(found.mapped())) : std::nullopt;
    }

    std::string Relative(const std::string& path) const
    {
        return path.compare(0, rootPrefix.size(), rootPrefix) == 0 ? path.substr(rootPrefix.size()) : path;
    }
};

// The listed files of a folder by name in upper case.
std::unordered_map<std::string, const DirEntry*> FilesByName(const std::vector<DirEntry>& listing)
{
    std::unordered_map<std::string, const DirEntry*> files;
    for (const DirEntry& entry : listing)
        if (!entry.isDir)
            files.emplace(UpperCaseAnsi(entry.name), &entry);
    return files;
}

void ReadReplyAhead(TReading& reading, const std::string& path, const DirEntry* listed)
{
    // Listed twice in an index: loading reads the file again from the disk.
    if (reading.result.files.count(path))
        return;
    const std::optional<TReplyStamp> stamp = listed ? StampOf(*listed) : std::nullopt;
    std::optional<std::string> bytes;
    if (stamp && reading.from.cache)
        bytes = reading.from.cache->Take(reading.Relative(path), *stamp);
    if (bytes) {
        ++reading.result.fromCache;
    } else {
        bytes = reading.fs.ReadFile(path);
        if (bytes)
            ++reading.result.fromDisk;
    }
    if (bytes && stamp)
        reading.result.stamps.emplace_back(path, *stamp);
    reading.Keep(path, std::move(bytes));
}

void ReadFolderAhead(TReading& reading, const std::string& indexPath, int depth)
{
    const IFileSystem& fs = reading.fs;
    const std::string directory = ParentDirectory(indexPath);
    reading.result.folders.insert(directory);
    std::optional<TFolderRead> tidied = reading.TakeTidied(directory);
    std::optional<std::string> index = tidied && tidied->index ? std::move(tidied->index) : fs.ReadFile(indexPath);
    if (!index) {
        reading.Keep(indexPath, std::nullopt);
        return;
    }
    const std::vector<std::string> lines = SplitTextLines(*index);
    reading.Keep(indexPath, std::move(index));
    // The listing tells each reply's stamp, which decides whether the cache
    // may serve it and lets the next cache keep it.
    const std::vector<DirEntry> listing = tidied ? std::move(tidied->listing) : fs.List(directory);
    const std::unordered_map<std::string, const DirEntry*> listed = FilesByName(listing);
    for (const std::string& line : lines) {
        const IndexLine entry = SplitIndexLine(line);
        if (!IsPlainPathComponent(entry.number))
            continue;
        if (SameTextIgnoringCase(entry.prefix, kFolderPrefix)) {
            const std::string folderDir = directory + "\\" + entry.number;
            // A folder the tidy went into is no link: it looked.
            if (depth + 1 <= TRepList::kMaxFolderDepth && (reading.TidyWentInto(folderDir) || !fs.IsLink(folderDir)))
                ReadFolderAhead(reading, folderDir + "\\" + kIndexFileName, depth + 1);
        } else if (SameTextIgnoringCase(entry.prefix, kReplyPrefix)) {
            const std::string name = entry.number + kReplyExtension;
            const auto found = listed.find(UpperCaseAnsi(name));
            ReadReplyAhead(reading, directory + "\\" + name, found == listed.end() ? nullptr : found->second);
        }
    }
}

std::string GroupedThousands(size_t number)
{
    std::string digits = std::to_string(number);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

} // namespace

TLibraryRead ReadLibraryAhead(const IFileSystem& fs, const std::string& rootIndexPath, TReadAheadSources from,
    const std::function<void(size_t filesRead)>& filesRead)
{
    TReading reading{fs, filesRead, from, ParentDirectory(rootIndexPath) + "\\", {}};
    ReadFolderAhead(reading, rootIndexPath, 0);
    TLibraryRead& read = reading.result;
    // With the root's index unreadable the library is not there to compare
    // with (a drive not yet connected, say): the cache stays as it is.
    const auto rootIndex = read.files.find(rootIndexPath);
    const bool rootIndexRead = rootIndex != read.files.end() && rootIndex->second;
    read.cacheOutOfDate = rootIndexRead && (read.fromDisk > 0 || (from.cache && from.cache->Untaken() > 0));
    return std::move(read);
}

std::string ReplyCacheOf(const TLibraryRead& read, const std::string& root, long long readStarted)
{
    const std::string prefix = root + "\\";
    std::vector<TReplyToKeep> replies;
    replies.reserve(read.stamps.size());
    for (const auto& [path, stamp] : read.stamps) {
        const auto file = read.files.find(path);
        if (file == read.files.end() || !file->second || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        replies.push_back({std::string_view(path).substr(prefix.size()), stamp, *file->second});
    }
    return FormatReplyCache(root, replies, readStarted);
}

std::string ReadAheadTraceText(const TLibraryRead& read)
{
    return "start: library files read (" + GroupedThousands(read.fromCache) + " from the cache, "
        + GroupedThousands(read.fromDisk) + " from disk)";
}

TLibraryStart ReadLibraryAtStart(
    IFileSystem& fs, const std::string& root, const std::string& cachePath, long long readStarted)
{
    TLibraryStart start;
    TFoldersRead folders;
    start.tidy = TidyLibrary(fs, root, &folders);
    TraceStep("start: library tidied");
    TReplyCache kept = cachePath.empty() ? TReplyCache() : ReadReplyCache(fs, cachePath, root);
    start.read = ReadLibraryAhead(fs, IndexPathIn(root), {&folders, &kept});
    TraceStep(ReadAheadTraceText(start.read).c_str());
    if (start.read.cacheOutOfDate && !cachePath.empty())
        start.cache = ReplyCacheOf(start.read, root, readStarted);
    return start;
}

std::optional<std::string> TReadAheadFileSystem::ReadFile(const std::string& path) const
{
    const auto found = files_.find(path);
    if (found == files_.end())
        return disk_.ReadFile(path);
    std::optional<std::string> bytes = std::move(found->second);
    files_.erase(found);
    return bytes;
}

bool TReadAheadFileSystem::IsLink(const std::string& path) const
{
    if (folders_.erase(path) != 0)
        return false;
    return disk_.IsLink(path);
}

bool TReadAheadFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    Drop();
    return disk_.WriteFileReplacing(path, bytes);
}

bool TReadAheadFileSystem::Rename(const std::string& from, const std::string& to)
{
    Drop();
    return disk_.Rename(from, to);
}

bool TReadAheadFileSystem::DeleteFile(const std::string& path)
{
    Drop();
    return disk_.DeleteFile(path);
}

bool TReadAheadFileSystem::RemoveDir(const std::string& path)
{
    Drop();
    return disk_.RemoveDir(path);
}

bool TReadAheadFileSystem::CreateNewFile(const std::string& path, const std::string& bytes)
{
    Drop();
    return disk_.CreateNewFile(path, bytes);
}

} // namespace corvane
