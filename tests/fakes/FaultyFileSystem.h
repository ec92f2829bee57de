#pragma once
// Wraps another file system: records every path it is asked about and fails
// the calls whose path matches a fault predicate.
#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace corvane::fakes {

class FaultyFileSystem : public IFileSystem {
public:
    using PathTest = std::function<bool(const std::string& path)>;

    explicit FaultyFileSystem(IFileSystem& inner) : inner_(inner) { }

    bool FileExists(const std::string& path) const override;
    bool DirExists(const std::string& path) const override;
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool WriteFileReplacing(const std::string& path, const std::string& bytes) override;
    bool CreateDir(const std::string& path) override;
    bool CreateDirs(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override;
    std::vector<DirEntry> List(const std::string& dir) const override;
    bool IsLink(const std::string& path) const override;

    // Faults; an empty predicate never fails. Rename is tested with its source.
    PathTest failRead;
    PathTest failWrite;
    PathTest failRename;
    PathTest failDelete;
    PathTest failCreate; // CreateDir and CreateDirs
    PathTest failList; // the listing comes back empty, as from an unreachable share
    // A refused write leaves what a process killed while writing leaves: a
    // partly written temporary (cvn<k>.tmp) beside the file.
    bool failedWriteLeavesTemp = false;

    // Every path passed in, in call order (both paths of a rename), and the
    // paths changed on disk (written, renamed, created or deleted).
    mutable std::vector<std::string> touched;
    std::vector<std::string> changed;
    int writeCount = 0;

private:
    bool Fails(const PathTest& test, const std::string& path) const { return test && test(path); }
    void Touch(const std::string& path) const { touched.push_back(path); }
    void LeaveTempBeside(const std::string& path, const std::string& bytes);

    IFileSystem& inner_;
    int tempsLeft_ = 0;
};

} // namespace corvane::fakes
