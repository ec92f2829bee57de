// A whole library built from the input, loaded, edited (add, rename, move,
// delete, new reply text) and saved after every step, then loaded again:
// the second load holds exactly what the edited library held.
#include "fuzz/LibraryFuzzRig.h"
#include "library/TextUtils.h"
#include "library/UnitConsts.h"

#include <set>

using namespace corvane;
using namespace corvane::fuzz;

namespace {

std::string Name(FuzzInput& in)
{
    // Names as a user types them: any character but the line breaks the
    // index turns into blanks.
    std::string name = in.Text(10);
    for (char& c : name)
        if (c == '\r' || c == '\n' || c == '\0')
            c = '_';
    return name.empty() ? "n" : name;
}

std::string Body(FuzzInput& in)
{
    std::string body = "{\\rtf1 ";
    body += in.Text(24);
    for (char& c : body)
        if (c == '\r' || c == '\n')
            c = ' ';
    return body + "}";
}

// A macro or hot key not used before (ignoring case), or none. Two replies
// with one key on disk load with the key on the first only, and the second
// keeps it in its file until saved, so the key would come back when the
// first is deleted; that is how the library is meant to work, so the
// generated library has no such pairs.
std::string UnusedKey(std::string key, std::set<std::string>& used)
{
    std::string lower = key;
    for (char& c : lower)
        c = ToLowerAnsi(c); // the indexes' own collation: "\x9f" and "\xff" are one key
    return used.insert(lower).second ? key : std::string();
}

// Folders and replies written straight to disk, as a copied library has them.
void WriteDirectory(MemoryFileSystem& fs, const std::string& dir, FuzzInput& in, int depth, std::set<std::string>& used)
{
    std::vector<std::string> index;
    const unsigned entries = in.Below(5);
    for (unsigned i = 1; i <= entries; ++i) {
        const std::string number = std::to_string(i);
        if (depth < 3 && in.Below(3) == 0) {
            fs.CreateDir(dir + "\\" + number);
            WriteDirectory(fs, dir + "\\" + number, in, depth + 1, used);
            index.push_back(MakeIndexLine(kFolderPrefix, number, Name(in)));
        } else {
            std::vector<std::string> lines{in.Below(2) ? UnusedKey(Name(in), used) : "",
                in.Below(2) ? UnusedKey("0" + std::string(1, static_cast<char>('A' + in.Below(26))), used) : ""};
            lines.push_back(Body(in));
            fs.WriteFileReplacing(dir + "\\" + number + kReplyExtension, JoinTextLines(lines));
            index.push_back(MakeIndexLine(kReplyPrefix, number, Name(in)));
        }
    }
    fs.WriteFileReplacing(dir + "\\" + kIndexFileName, JoinTextLines(index));
}

TRep* Pick(LibraryRig& rig, FuzzInput& in)
{
    const int count = rig.library.Count();
    return count == 0 ? nullptr : rig.library.Items(static_cast<int>(in.Below(static_cast<unsigned>(count))));
}

// A new empty reply at the end of a folder (or the root), as the add command
// leaves it: its file first, then its line.
void AddReply(LibraryRig& rig, TRep* folder)
{
    const std::string dir = folder ? folder->FolderPath() : rig.library.Root();
    const std::string indexPath = dir + "\\" + kIndexFileName;
    std::optional<std::string> index = rig.fs.ReadFile(indexPath);
    if (!index)
        return;
    const std::string number = FreeReplyNumber(rig.fs, dir);
    const std::string path = dir + "\\" + number + kReplyExtension;
    std::vector<std::string> lines = SplitTextLines(*index);
    lines.push_back(MakeIndexLine(kReplyPrefix, number, kNewReplyName));
    if (!rig.fs.WriteFileReplacing(path, "\r\n\r\n") || !rig.fs.WriteFileReplacing(indexPath, JoinTextLines(lines)))
        return;
    rig.library.LoadReplyFile(path, kNewReplyName, false, nullptr, folder ? folder->Node : nullptr);
}

void Edit(LibraryRig& rig, FuzzInput& in)
{
    TRep* rep = Pick(rig, in);
    switch (in.Below(6)) {
    case 0:
        AddReply(rig, rep && rep->IsFolder() ? rep : nullptr);
        break;
    case 1:
        if (rep)
            (void)rig.library.RenameEntry(rep, Name(in));
        break;
    case 2:
        if (TRep* target = Pick(rig, in); rep && target && rig.library.MoveBefore(rep, target))
            rig.library.MoveNodeBefore(rep, target);
        break;
    case 3:
        if (rep && rig.library.DeleteFiles(rep))
            rig.library.RemoveSubtree(rep->Node);
        break;
    case 4:
        if (rep && !rep->IsFolder()) {
            rig.library.SetBodyText(rep, Body(in));
            Check(rig.library.SaveReplyFile(rep), "a reply could not be saved");
        }
        break;
    case 5:
        if (rep && !rep->IsFolder()) {
            (void)rig.library.SetMacro(rep, in.Below(2) ? Name(in) : "");
            Check(rig.library.SaveReplyFile(rep), "a reply could not be saved");
        }
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    LibraryRig first;
    std::set<std::string> usedKeys;
    WriteDirectory(first.fs, first.library.Root(), in, 0, usedKeys);
    first.Load();
    for (unsigned steps = in.Below(12); steps > 0; --steps)
        Edit(first, in);
    const std::string edited = Snapshot(first.library);

    LibraryRig second;
    second.fs = first.fs;
    second.fs.checkPath = [&](const std::string& path) {
        Check(InsideRoot(second.library.Root(), path), "a path outside the library root was named", path);
    };
    second.Load();
    Check(Snapshot(second.library) == edited, "the library loaded again is not what was saved",
        edited + "\n--- loaded ---\n" + Snapshot(second.library));
    return 0;
}
