// A storage operation cut off after any number of its file-system steps, as a
// killed process or a power cut leaves it: nothing after the cut happens, not
// even a roll-back. On the next load every reply is there exactly once, in its
// old or its new state.
#include "LibraryTestSupport.h"

#include <functional>
#include <map>
#include <set>

namespace corvane::testing {
namespace {

// Reply bodies are unique, so they identify the replies.
const std::map<std::string, std::string> kBodies
    = {{"A", "{\\rtf1 alpha}"}, {"B", "{\\rtf1 bravo}"}, {"C", "{\\rtf1 charlie}"}, {"D", "{\\rtf1 delta}"}};

void WriteLibrary(LibraryDir& dir)
{
    dir.Write("index.sub", "REPLY_1?A\r\nFOLDER_1?F\r\nREPLY_2?D\r\n");
    dir.Write("1.rep", "a\r\n\r\n" + kBodies.at("A") + "\r\n");
    dir.Write("2.rep", "\r\n0D\r\n" + kBodies.at("D") + "\r\n");
    dir.Write("1/index.sub", "REPLY_1?B\r\nREPLY_2?C\r\n");
    dir.Write("1/1.rep", "b\r\n\r\n" + kBodies.at("B") + "\r\n");
    dir.Write("1/2.rep", "\r\n\r\n" + kBodies.at("C") + "\r\n");
}

// Body -> labels under which it loads.
std::map<std::string, std::vector<std::string>> LoadedReplies(const LibraryDir& dir)
{
    // The files as the cut left them, on a file system that no longer fails.
    fakes::MemoryFileSystem fs = dir.files;
    fs.failWrite = fs.failRename = fs.failDelete = nullptr;
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys, macros;
    fakes::RecordingMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    TRepList lib{tree, hotKeys, macros, fs, LibraryRootIn(dir.DataDir())};
    lib.BeginBulkLoad();
    lib.LoadFolderIndex(lib.RootIndexPath(), nullptr);
    lib.EndBulkLoad();
    SetMessageBoxes(nullptr);
    std::map<std::string, std::vector<std::string>> found;
    for (int i = 0; i < lib.Count(); ++i) {
        const TRep* rep = lib.Items(i);
        if (rep->IsFolder())
            continue;
        std::string body;
        for (const auto& line : rep->Lines)
            body += line;
        found[body].push_back(tree.Label(rep->Node));
    }
    return found;
}

using Operation = std::function<void(LibraryFixture&)>;

struct CrashRun : LibraryFixture {
    void TestBody() override { }
};

// Runs `op` on a fresh library, the file system dying at step `crashAt`
// (never, when negative); returns the number of steps it took.
int RunCut(const Operation& op, int crashAt, std::map<std::string, std::vector<std::string>>& after)
{
    CrashRun run;
    WriteLibrary(run.dir);
    run.Load();
    int steps = 0;
    auto dies = [&](const std::string&) { return crashAt >= 0 && steps++ >= crashAt; };
    auto counts = [&](const std::string&) { return crashAt < 0 && (++steps, false); };
    run.fs.failWrite = run.fs.failRename = run.fs.failDelete
        = crashAt >= 0 ? fakes::MemoryFileSystem::PathTest(dies) : fakes::MemoryFileSystem::PathTest(counts);
    op(run);
    after = LoadedReplies(run.dir);
    return steps;
}

// Every reply loads exactly once, under its old label or the new one.
void ExpectEveryReplyOnce(const Operation& op, const std::map<std::string, std::set<std::string>>& labels)
{
    std::map<std::string, std::vector<std::string>> after;
    const int steps = RunCut(op, -1, after);
    ASSERT_GT(steps, 0);
    for (int cut = 0; cut <= steps; ++cut) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " of " + std::to_string(steps) + " steps");
        RunCut(op, cut, after);
        for (const auto& [name, body] : kBodies) {
            ASSERT_EQ(after[body].size(), 1u) << "reply " << name << " lost or doubled";
            const auto allowed = labels.count(name) ? labels.at(name) : std::set<std::string>{name};
            EXPECT_TRUE(allowed.count(after[body][0])) << name << " loads as " << after[body][0];
        }
    }
}

// Moves the entry at one label path before the one at another, on disk and
// then in the tree, as the drop of a dragged node does.
Operation MoveBefore(std::string entry, std::string target)
{
    return [entry, target](LibraryFixture& f) {
        TRep* moved = f.Rep(entry);
        TRep* before = f.Rep(target);
        if (f.lib.MoveBefore(moved, before))
            f.lib.MoveNodeBefore(moved, before);
    };
}

TEST(CrashSafety, MovingAReplyIntoAFolderNeverLosesIt) { ExpectEveryReplyOnce(MoveBefore("A", "F/C"), {}); }

TEST(CrashSafety, MovingAReplyOutOfAFolderNeverLosesIt) { ExpectEveryReplyOnce(MoveBefore("F/B", "D"), {}); }

TEST(CrashSafety, MovingAFolderIntoAnotherNeverLosesItsReplies)
{
    ExpectEveryReplyOnce(
        [](LibraryFixture& f) {
            const int g = f.lib.AddNodeLast("G", nullptr);
            f.lib.Items(g)->FolderName = "2";
            f.dir.Write("2/index.sub", "REPLY_1?E\r\n");
            f.dir.Write("2/1.rep", "\r\n\r\n{\\rtf1 echo}\r\n");
            f.dir.Write("index.sub", "REPLY_1?A\r\nFOLDER_1?F\r\nREPLY_2?D\r\nFOLDER_2?G\r\n");
            f.lib.LoadReplyFile(f.dir.Win("2/1.rep"), "E", false, nullptr, f.lib.Items(g)->Node);
            MoveBefore("F", "G/E")(f);
        },
        {});
}

TEST(CrashSafety, RenamingSavingAndDeletingKeepOldOrNewState)
{
    ExpectEveryReplyOnce(
        [](LibraryFixture& f) {
            (void)f.lib.RenameEntry(f.Rep("A"), "A2");
            (void)f.lib.SaveReplyFile(f.Rep("F/B"));
        },
        {{"A", {"A", "A2"}}});
}

} // namespace
} // namespace corvane::testing
