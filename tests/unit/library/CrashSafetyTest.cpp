// A storage operation cut off after any number of its file-system steps, as a
// killed process or a power cut leaves it: nothing after the cut happens, not
// even a roll-back, and the write that was cut leaves its temporary file. On
// the next start (tidy, then load) every reply is there exactly once, in its
// old or its new state, no message box appears and no temporary is left.
#include "LibraryTestSupport.h"

#include "editing/LibraryEditing.h"
#include "fakes/FakePanelControls.h"
#include "fakes/FakeReplyEditor.h"
#include "library/LibraryFiles.h"
#include "library/LibraryTidy.h"

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

struct Restart {
    std::map<std::string, std::vector<std::string>> replies; // body -> labels under which it loads
    std::vector<std::string> boxes; // every message box shown
    std::vector<std::string> temporaries; // cvn*.tmp left anywhere in the library
};

std::vector<std::string> TemporariesIn(const fakes::MemoryFileSystem& fs, const LibraryDir& dir)
{
    const std::string root = dir.Win("") + "\\";
    std::vector<std::string> found;
    for (const std::string& path : fs.AllPaths())
        if (path.rfind(root, 0) == 0 && IsOwnTempName(path.substr(path.find_last_of('\\') + 1)))
            found.push_back(path);
    return found;
}

// What the program does at its next start: tidy the library, then load it.
Restart RestartOn(const LibraryDir& dir)
{
    // The files as the cut left them, on a file system that no longer fails.
    fakes::MemoryFileSystem fs = dir.files;
    fs.failWrite = fs.failRename = fs.failDelete = fs.failCreate = nullptr;
    fs.failedWriteLeavesTemp = false;
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys, macros;
    fakes::RecordingMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    TRepList lib{tree, hotKeys, macros, fs, LibraryRootIn(dir.DataDir())};
    ShowTidyNotice(TidyLibrary(fs, lib.Root()));
    lib.BeginBulkLoad();
    lib.LoadFolderIndex(lib.RootIndexPath(), nullptr);
    lib.EndBulkLoad();
    SetMessageBoxes(nullptr);
    Restart after;
    for (const auto& box : boxes.shown)
        after.boxes.push_back(box.kind + ": " + box.text);
    after.temporaries = TemporariesIn(fs, dir);
    for (int i = 0; i < lib.Count(); ++i) {
        const TRep* rep = lib.Items(i);
        if (rep->IsFolder())
            continue;
        std::string body;
        for (const auto& line : rep->Lines)
            body += line;
        after.replies[body].push_back(tree.Label(rep->Node));
    }
    return after;
}

using Operation = std::function<void(LibraryFixture&)>;

struct CrashRun : LibraryFixture {
    void TestBody() override { }
};

// Runs `op` on a fresh library, the file system dying at step `crashAt`
// (never, when negative), then restarts; returns the number of steps it took.
int RunCut(const Operation& op, int crashAt, Restart& after)
{
    CrashRun run;
    WriteLibrary(run.dir);
    run.Load();
    int steps = 0;
    auto dies = [&](const std::string&) { return crashAt >= 0 && steps++ >= crashAt; };
    auto counts = [&](const std::string&) { return crashAt < 0 && (++steps, false); };
    run.fs.failWrite = run.fs.failRename = run.fs.failDelete = run.fs.failCreate
        = crashAt >= 0 ? fakes::MemoryFileSystem::PathTest(dies) : fakes::MemoryFileSystem::PathTest(counts);
    run.fs.failedWriteLeavesTemp = true;
    op(run);
    after = RestartOn(run.dir);
    return steps;
}

// Every reply loads exactly once, under its old label or the new one, with
// no message box and no temporary left.
void ExpectEveryReplyOnce(const Operation& op, const std::map<std::string, std::set<std::string>>& labels)
{
    Restart after;
    const int steps = RunCut(op, -1, after);
    ASSERT_GT(steps, 0);
    for (int cut = 0; cut <= steps; ++cut) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " of " + std::to_string(steps) + " steps");
        RunCut(op, cut, after);
        EXPECT_EQ(after.boxes, std::vector<std::string>{});
        EXPECT_EQ(after.temporaries, std::vector<std::string>{});
        for (const auto& [name, body] : kBodies) {
            ASSERT_EQ(after.replies[body].size(), 1u) << "reply " << name << " lost or doubled";
            const auto allowed = labels.count(name) ? labels.at(name) : std::set<std::string>{name};
            EXPECT_TRUE(allowed.count(after.replies[body][0])) << name << " loads as " << after.replies[body][0];
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
            f.lib.SetBodyText(f.Rep("D"), kBodies.at("D"));
            (void)f.lib.SaveReplyFile(f.Rep("D"));
        },
        {{"A", {"A", "A2"}}});
}

// The drop of the dragged node, as the main window's tree raises it; the
// folder the move empties goes too.
Operation DragOnto(std::string entry, std::string target)
{
    return [entry, target](LibraryFixture& f) {
        fakes::FakeLineEdit name, macro;
        fakes::FakeCheckBox hotKey, shift;
        fakes::FakeDropDownList key{static_cast<int>(kHotKeyChars.size())};
        fakes::FakeReplyEditor editor;
        TLibraryEditing editing{f.lib, f.fs, TReplyPanel{name, macro, hotKey, shift, key, editor}};
        f.tree.Select(f.tree.Find(entry));
        editing.NavigationDragDrop(f.tree.Find(target));
    };
}

TEST(CrashSafety, DraggingTheLastRepliesOutOfAFolderNeverLosesThem)
{
    ExpectEveryReplyOnce(
        [](LibraryFixture& f) {
            DragOnto("F/B", "A")(f);
            DragOnto("F/C", "D")(f);
        },
        {});
}

} // namespace
} // namespace corvane::testing
