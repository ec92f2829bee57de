#include "library/LibraryReadAhead.h"

#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"

namespace corvane {

namespace {

struct TReading {
    const IFileSystem& fs;
    const std::function<void(size_t)>& filesRead;
    TFilesRead files;

    void Keep(const std::string& path, std::optional<std::string> bytes)
    {
        files.emplace(path, std::move(bytes));
        if (filesRead)
            filesRead(files.size());
    }
};

void ReadFolderAhead(TReading& reading, const std::string& indexPath, int depth)
{
    const IFileSystem& fs = reading.fs;
    std::optional<std::string> index = fs.ReadFile(indexPath);
    const std::optional<std::vector<std::string>> lines = index ? std::optional(SplitTextLines(*index)) : std::nullopt;
    reading.Keep(indexPath, std::move(index));
    if (!lines)
        return;
    const std::string directory = ParentDirectory(indexPath);
    for (const std::string& line : *lines) {
        const IndexLine entry = SplitIndexLine(line);
        if (!IsPlainPathComponent(entry.number))
            continue;
        if (SameTextIgnoringCase(entry.prefix, kFolderPrefix)) {
            const std::string folderDir = directory + "\\" + entry.number;
            if (depth + 1 <= TRepList::kMaxFolderDepth && !fs.IsLink(folderDir))
                ReadFolderAhead(reading, folderDir + "\\" + kIndexFileName, depth + 1);
        } else if (SameTextIgnoringCase(entry.prefix, kReplyPrefix)) {
            const std::string path = directory + "\\" + entry.number + kReplyExtension;
            reading.Keep(path, fs.ReadFile(path));
        }
    }
}

} // namespace

TFilesRead ReadLibraryAhead(
    const IFileSystem& fs, const std::string& rootIndexPath, const std::function<void(size_t filesRead)>& filesRead)
{
    TReading reading{fs, filesRead, {}};
    ReadFolderAhead(reading, rootIndexPath, 0);
    return std::move(reading.files);
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
