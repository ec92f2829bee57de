#include "library/MoveRecord.h"

#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/UnitConsts.h"

#include <string_view>

namespace corvane {

namespace {

// "" or "\a\b" with every part a plain component.
bool IsPlainRelativeDir(std::string_view dir)
{
    if (dir.empty())
        return true;
    if (dir.front() != '\\')
        return false;
    for (size_t start = 1;;) {
        const size_t cut = dir.find('\\', start);
        if (!IsPlainPathComponent(dir.substr(start, cut == std::string_view::npos ? cut : cut - start)))
            return false;
        if (cut == std::string_view::npos)
            return true;
        start = cut + 1;
    }
}

} // namespace

std::string MoveRecordPath(const std::string& root) { return root + "\\" + kMoveRecordName; }

std::string RelativeToRoot(const std::string& root, const std::string& path) { return path.substr(root.size()); }

bool WriteMoveRecord(IFileSystem& fs, const std::string& root, const TMoveRecord& record)
{
    return WriteTextLines(
        fs, MoveRecordPath(root), {record.sourceDir, record.sourceLine, record.destinationDir, record.destinationLine});
}

std::optional<TMoveRecord> ReadMoveRecord(const IFileSystem& fs, const std::string& root)
{
    const std::optional<std::vector<std::string>> lines = ReadTextLines(fs, MoveRecordPath(root));
    if (!lines || lines->size() != 4)
        return std::nullopt;
    TMoveRecord record{(*lines)[0], (*lines)[1], (*lines)[2], (*lines)[3]};
    if (!IsPlainRelativeDir(record.sourceDir) || !IsPlainRelativeDir(record.destinationDir))
        return std::nullopt;
    return record;
}

} // namespace corvane
