#include "library/LibraryTidy.h"

#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/MoveRecord.h"
#include "library/TextUtils.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

namespace corvane {

namespace {

// A line the loader follows: a known prefix and a number that names an entry
// inside the line's own directory.
struct ListedEntry {
    bool valid = false;
    bool folder = false;
    IndexLine parts;
};

ListedEntry ReadListedEntry(const std::string& line)
{
    ListedEntry entry;
    entry.parts = SplitIndexLine(line);
    entry.folder = SameTextIgnoringCase(entry.parts.prefix, kFolderPrefix);
    entry.valid = (entry.folder || SameTextIgnoringCase(entry.parts.prefix, kReplyPrefix))
        && IsPlainPathComponent(entry.parts.number);
    return entry;
}

// A folder's listing by name in upper case: an index of hundreds of lines is
// checked against it without a pass over the listing per line.
class ListedNames {
public:
    explicit ListedNames(const std::vector<DirEntry>& listing)
    {
        byName_.reserve(listing.size());
        for (const DirEntry& entry : listing)
            byName_.emplace(UpperCaseAnsi(entry.name), &entry);
    }
    const DirEntry* Find(const std::string& name) const
    {
        const auto found = byName_.find(UpperCaseAnsi(name));
        return found == byName_.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string, const DirEntry*> byName_;
};

bool FinishInterruptedMove(IFileSystem& fs, const std::string& root)
{
    const std::optional<TMoveRecord> record = ReadMoveRecord(fs, root);
    if (!record || record->sourceDir == record->destinationDir)
        return false;
    const std::string sourceDir = root + record->sourceDir;
    const std::string destinationDir = root + record->destinationDir;
    const ListedEntry source = ReadListedEntry(record->sourceLine);
    const ListedEntry destination = ReadListedEntry(record->destinationLine);
    if (!source.valid || !destination.valid || source.folder != destination.folder)
        return false;
    std::optional<std::vector<std::string>> sourceLines = ReadTextLines(fs, IndexPathIn(sourceDir));
    const std::optional<std::vector<std::string>> destinationLines = ReadTextLines(fs, IndexPathIn(destinationDir));
    if (!sourceLines || !destinationLines)
        return false;
    // Listed twice only when the cut fell between the two index writes; any
    // other cut left one listing, which stays as it is.
    const auto sourceAt = std::find(sourceLines->begin(), sourceLines->end(), record->sourceLine);
    const bool listedTwice = sourceAt != sourceLines->end()
        && std::find(destinationLines->begin(), destinationLines->end(), record->destinationLine)
            != destinationLines->end();
    const std::string destinationPath = EntryPathIn(destinationDir, destination.parts.number, destination.folder);
    const bool destinationPresent = destination.folder ? fs.DirExists(destinationPath) : fs.FileExists(destinationPath);
    const std::string sourcePath = EntryPathIn(sourceDir, source.parts.number, source.folder);
    // Deleting the source must never take the destination with it.
    if (!listedTwice || !destinationPresent || IsAtOrBelow(destinationPath, sourcePath))
        return false;
    sourceLines->erase(sourceAt);
    if (!WriteTextLines(fs, IndexPathIn(sourceDir), *sourceLines))
        return false;
    (void)DeleteEntryFiles(fs, sourcePath, source.folder);
    return true;
}

bool RemoveTemporary(IFileSystem& fs, const std::string& dir, const DirEntry& entry)
{
    const std::string path = dir + "\\" + entry.name;
    if (!entry.isDir)
        (void)fs.SetNormalAttributes(path);
    return DeleteEntryFiles(fs, path, entry.isDir);
}

// Only those written before `before` (milliseconds) go.
int RemoveOwnTemporaries(IFileSystem& fs, const std::string& dir, long long before)
{
    int removed = 0;
    for (const DirEntry& entry : fs.List(dir)) {
        if (!IsOwnTempName(entry.name) || fs.LastWriteTime(dir + "\\" + entry.name).value_or(before) >= before)
            continue;
        if (RemoveTemporary(fs, dir, entry))
            ++removed;
    }
    return removed;
}

// The directory's entries once its own temporaries are gone.
std::vector<DirEntry> ListRemovingTemporaries(IFileSystem& fs, const std::string& dir, int& removed)
{
    std::vector<DirEntry> listing = fs.List(dir);
    std::erase_if(listing, [&](const DirEntry& entry) {
        if (!IsOwnTempName(entry.name) || !RemoveTemporary(fs, dir, entry))
            return false;
        ++removed;
        return true;
    });
    return listing;
}

std::string DisplayPath(const std::string& labels, const std::string& name)
{
    return labels.empty() ? name : labels + "\\" + name;
}

// "Folder\Name" (full path)
std::string DroppedEntryText(const std::string& labels, const std::string& name, const std::string& path)
{
    std::string text(1, '"');
    text.append(DisplayPath(labels, name)).append("\" (").append(path).append(1, ')');
    return text;
}

void TidyDirectory(IFileSystem& fs, const std::string& dir, const std::string& labels, int depth, TTidyReport& report,
    TFoldersRead* read)
{
    std::vector<DirEntry> listing = ListRemovingTemporaries(fs, dir, report.temporariesRemoved);
    std::optional<std::string> index = fs.ReadFile(IndexPathIn(dir));
    const ListedNames listed(listing);
    // A listing without the index that reads failed, and would make every
    // entry look missing; the reader lists such a folder again itself.
    if (index && !listed.Find(kIndexFileName))
        return;
    if (!index) {
        if (read)
            (*read)[dir] = {std::move(listing), std::nullopt};
        return;
    }
    std::vector<std::string> kept;
    std::vector<std::string> dropped;
    // The folders to go into: listed, and no link by what the listing says.
    std::vector<std::pair<std::string, std::string>> folders; // path, label
    for (const std::string& line : SplitTextLines(*index)) {
        const ListedEntry entry = ReadListedEntry(line);
        const std::string path = entry.valid ? EntryPathIn(dir, entry.parts.number, entry.folder) : std::string();
        const DirEntry* found = entry.valid ? listed.Find(LastComponent(path)) : nullptr;
        if (entry.valid && !found) {
            dropped.push_back(DroppedEntryText(labels, entry.parts.name, path));
            continue;
        }
        kept.push_back(line);
        if (entry.valid && entry.folder && depth < TRepList::kMaxFolderDepth && !found->isLink)
            folders.emplace_back(path, DisplayPath(labels, entry.parts.name));
    }
    if (!dropped.empty() && WriteTextLines(fs, IndexPathIn(dir), kept))
        report.dropped.insert(report.dropped.end(), dropped.begin(), dropped.end());
    if (read)
        (*read)[dir] = {std::move(listing), dropped.empty() ? std::move(index) : std::nullopt};
    for (const auto& [path, folderLabels] : folders)
        TidyDirectory(fs, path, folderLabels, depth + 1, report, read);
}

} // namespace

TTidyReport TidyLibrary(IFileSystem& fs, const std::string& root, TFoldersRead* read)
{
    TTidyReport report;
    // Before the temporaries go, since the record is one of them.
    report.moveFinished = FinishInterruptedMove(fs, root);
    TidyDirectory(fs, root, std::string(), 0, report, read);
    return report;
}

int TidySharedLibrary(IFileSystem& fs, const std::string& root, long long now, long long minTempAgeMilliseconds)
{
    int removed = 0;
    std::vector<std::pair<std::string, int>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [dir, depth] = pending.back();
        pending.pop_back();
        removed += RemoveOwnTemporaries(fs, dir, now - minTempAgeMilliseconds);
        const std::optional<std::vector<std::string>> lines = ReadTextLines(fs, IndexPathIn(dir));
        if (!lines || depth >= TRepList::kMaxFolderDepth)
            continue;
        for (const std::string& line : *lines) {
            const ListedEntry entry = ReadListedEntry(line);
            const std::string path = EntryPathIn(dir, entry.parts.number, true);
            if (entry.valid && entry.folder && !fs.IsLink(path))
                pending.emplace_back(path, depth + 1);
        }
    }
    return removed;
}

void ShowTidyNotice(const TTidyReport& report)
{
    if (report.dropped.empty())
        return;
    std::string names;
    for (const std::string& entry : report.dropped)
        names.append(names.empty() ? "" : "\r\n").append(entry);
    ShowWarning(FormatMessageText(kMsgMissingEntriesDropped, names));
}

} // namespace corvane
