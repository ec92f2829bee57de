#pragma once
// A Windows-like file system in memory, the tests' default: names compare
// without regard to case and keep the case they were written in; a read-only
// file cannot be deleted until its attributes are cleared; a directory link
// shows its target's entries and is removed without them. It records the
// paths it is asked about and fails the calls a fault predicate picks, and is
// fast enough for a fuzzer's hundreds of thousands of runs.
#include "platform/FileSystem.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvane::fakes {

class MemoryFileSystem : public IFileSystem {
public:
    using PathTest = std::function<bool(const std::string& path)>;

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
    bool CreateNewFile(const std::string& path, const std::string& bytes) override;
    // Every write happens at this computer's time, each a moment after the last.
    std::optional<long long> LastWriteTime(const std::string& path) const override;

    // Set-up, outside what the program does (nothing is recorded): a folder
    // or a file with the folders on its way, a read-only mark, a directory
    // link to `target`.
    void PutDir(const std::string& path) { AddDirs(path); }
    void PutFile(const std::string& path, const std::string& bytes);
    void SetReadOnly(const std::string& path);
    void PutLink(const std::string& path, const std::string& target);
    // As another computer's write at `milliseconds` since 1970 leaves it.
    void SetWriteTime(const std::string& path, long long milliseconds);
    // As another computer's delete leaves it (nothing is recorded).
    void RemoveFile(const std::string& path);

    // Looks, outside what the program does (nothing is recorded): what a
    // file holds, whether a file or folder is there, the names in a folder.
    std::optional<std::string> Peek(const std::string& path) const;
    bool Has(const std::string& path) const;
    std::vector<std::string> NamesIn(const std::string& dir) const;
    // Every file, by its path as written, for comparing two states.
    std::map<std::string, std::string> Files() const;
    // Every file and folder, by its path as written.
    std::vector<std::string> AllPaths() const;
    static std::string Parent(const std::string& path);
    // The path in lower case, as names are compared.
    static std::string Key(const std::string& path);

    // Faults; an empty predicate never fails. Rename is tested with its
    // source, RemoveDir with failDelete.
    PathTest failRead;
    PathTest failWrite;
    PathTest failRename;
    PathTest failDelete;
    PathTest failCreate; // CreateDir and CreateDirs
    PathTest failList; // the listing comes back empty, as from an unreachable share
    // A refused write leaves what a process killed while writing leaves: a
    // partly written temporary (cvn<k>.tmp) beside the file.
    bool failedWriteLeavesTemp = false;
    // Files some other program (antivirus, backup, another computer's
    // reader) holds open without delete sharing: they cannot be replaced,
    // renamed or deleted until it closes them.
    PathTest heldOpen;
    // Listings tell each file's size and write time, as a Windows directory
    // search does; off, as a file system that does not tell them.
    bool listsSizes = true;
    bool listsWriteTimes = true;
    // Called with every path first (a fuzzer checks each stays inside its root).
    std::function<void(const std::string& path)> checkPath;
    // Answers a read of a missing file: the input decides what any file holds.
    std::function<std::optional<std::string>(const std::string& path)> supply;

    // Every path passed in, in call order (both paths of a rename), and the
    // paths changed (written, renamed, created or deleted).
    mutable std::vector<std::string> touched;
    std::vector<std::string> changed;
    int writeCount = 0;
    // Every path read, in call order, and how many listings were asked for.
    mutable std::vector<std::string> reads;
    mutable int listCount = 0;
    // How many times IsLink was asked.
    mutable int linkChecks = 0;

private:
    struct Entry {
        std::string path; // as written
        std::string bytes;
        bool readOnly = false;
        long long written = 0; // milliseconds since 1970
    };
    long long NextWriteTime() const;

    // The path with a link at its start replaced by the link's target.
    std::string Resolve(const std::string& path) const;
    void Touch(const std::string& path) const;
    std::vector<DirEntry> Entries(const std::string& dir) const;
    bool Fails(const PathTest& test, const std::string& path) const { return test && test(path); }
    const Entry* Find(const std::map<std::string, Entry>& m, const std::string& path) const;
    void AddDirs(const std::string& path) const;
    void LeaveTempBeside(const std::string& path, const std::string& bytes);
    static void MoveUnder(std::map<std::string, Entry>& m, const std::string& from, const std::string& to);

    mutable std::map<std::string, Entry> files_;
    mutable std::map<std::string, Entry> dirs_;
    std::map<std::string, std::string> links_; // key -> target as written
    int tempsLeft_ = 0;
    mutable long long lastWrite_ = 0;
};

} // namespace corvane::fakes
