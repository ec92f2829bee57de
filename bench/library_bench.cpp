// Library figures on a generated library of 10,000 replies in 500 folders
// three levels deep: full load with the list boxes refilled, MatchMacro over
// 10,000 macros, ClearAll; the same library loaded as a team library beside
// an empty personal one, one look of the team watch at it, and a change
// written by another computer until it shows in the tree.
#include "fakes/FakeListBox.h"
#include "fakes/FakeTreeControl.h"
#include "fakes/NativeFileSystem.h"
#include "library/LazyTree.h"
#include "library/SharedWatch.h"
#include "library/TeamReplica.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr int kTopFolders = 10;
constexpr int kSecondPerTop = 7;
constexpr int kThirdPerSecond = 6;
constexpr int kRepliesPerFolder = 20;

std::string MacroOf(int reply)
{
    // Every tenth macro is parametric.
    return reply % 10 == 0 ? "p" + std::to_string(reply) + "(name,city)" : "m" + std::to_string(reply);
}

class GeneratedLibrary {
public:
    GeneratedLibrary()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-bench-XXXXXX").string();
        base_ = ::mkdtemp(pattern.data());
        const std::string root = base_ + "/Replies";
        std::filesystem::create_directories(root);
        std::string rootIndex;
        for (int top = 1; top <= kTopFolders; ++top) {
            rootIndex += "FOLDER_" + std::to_string(top) + "?Top " + std::to_string(top) + "\r\n";
            const std::string topDir = root + "/" + std::to_string(top);
            std::string topIndex = FillReplies(topDir);
            for (int second = 1; second <= kSecondPerTop; ++second) {
                topIndex += "FOLDER_" + std::to_string(second) + "?Second " + std::to_string(second) + "\r\n";
                const std::string secondDir = topDir + "/" + std::to_string(second);
                std::string secondIndex = FillReplies(secondDir);
                for (int third = 1; third <= kThirdPerSecond; ++third) {
                    secondIndex += "FOLDER_" + std::to_string(third) + "?Third " + std::to_string(third) + "\r\n";
                    const std::string thirdDir = secondDir + "/" + std::to_string(third);
                    WriteFile(thirdDir + "/index.sub", FillReplies(thirdDir));
                    ++folders_;
                }
                WriteFile(secondDir + "/index.sub", secondIndex);
                ++folders_;
            }
            WriteFile(topDir + "/index.sub", topIndex);
            ++folders_;
        }
        WriteFile(root + "/index.sub", rootIndex);
    }
    ~GeneratedLibrary()
    {
        std::error_code ignored;
        std::filesystem::remove_all(base_, ignored);
    }

    std::string Root() const { return LibraryRootIn(fakes::ToWindowsPath(base_ + "/")); }
    int Replies() const { return replies_; }
    int Folders() const { return folders_; }

private:
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string FillReplies(const std::string& dir)
    {
        std::filesystem::create_directories(dir);
        std::string index;
        for (int n = 1; n <= kRepliesPerFolder; ++n) {
            const int reply = replies_++;
            std::string code;
            if (reply < 72)
                code = MakeHotKeyCode(reply >= 36, kHotKeyChars[static_cast<size_t>(reply % 36)]);
            WriteFile(dir + "/" + std::to_string(n) + ".rep",
                MacroOf(reply) + "\r\n" + code
                    + "\r\n{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
                      "\\pard\\f0\\fs20 Reply number "
                    + std::to_string(reply) + ", kind regards.\\par\r\n}\r\n");
            index += "REPLY_" + std::to_string(n) + "?Reply " + std::to_string(reply) + "\r\n";
        }
        return index;
    }

    std::string base_;
    int replies_ = 0;
    int folders_ = 0;
};

GeneratedLibrary& Library()
{
    static GeneratedLibrary library;
    return library;
}

struct LoadedLibrary {
    fakes::NativeFileSystem fs;
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys;
    fakes::FakeListBox macros;
    TRepList lib{tree, hotKeys, macros, fs, Library().Root()};

    void Load()
    {
        lib.BeginBulkLoad();
        lib.ClearAll();
        lib.LoadFolderIndex(lib.RootIndexPath(), nullptr);
        lib.EndBulkLoad();
    }
};

void BM_LoadLibrary(benchmark::State& state)
{
    LoadedLibrary loaded;
    for (auto _ : state) {
        loaded.Load();
        benchmark::DoNotOptimize(loaded.lib.Count());
    }
    if (loaded.lib.Count() != Library().Replies() + Library().Folders() || loaded.macros.Count() != Library().Replies()
        || loaded.hotKeys.Count() != 72)
        state.SkipWithError("library did not load completely");
    state.counters["entries"] = loaded.lib.Count();
    state.counters["listed macros"] = loaded.macros.Count();
}
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MatchMacro(benchmark::State& state)
{
    LoadedLibrary loaded;
    loaded.Load();
    std::vector<std::string> typed;
    for (int i = 0; i < 1000; ++i) {
        const int reply = (i * 7919) % Library().Replies();
        if (i % 4 == 3)
            typed.push_back("x" + std::to_string(reply)); // no such macro
        else if (reply % 10 == 0)
            typed.push_back("P" + std::to_string(reply) + "(Bob,Paris)");
        else
            typed.push_back("M" + std::to_string(reply));
    }
    std::string names;
    std::string values;
    size_t next = 0;
    int hits = 0;
    for (auto _ : state) {
        const int at = loaded.lib.MatchMacro(typed[next], names, values);
        hits += at >= 0;
        benchmark::DoNotOptimize(at);
        next = next + 1 == typed.size() ? 0 : next + 1;
    }
    state.counters["macros"] = loaded.lib.MacroCount();
    state.counters["hit rate"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MatchMacro)->Unit(benchmark::kNanosecond);

void BM_ClearAll(benchmark::State& state)
{
    LoadedLibrary loaded;
    for (auto _ : state) {
        state.PauseTiming();
        loaded.Load();
        state.ResumeTiming();
        loaded.lib.ClearAll();
        benchmark::DoNotOptimize(loaded.lib.Count());
    }
    if (loaded.lib.Count() != 0 || loaded.macros.Count() != 0 || loaded.tree.Count() != 0)
        state.SkipWithError("ClearAll left entries behind");
}
BENCHMARK(BM_ClearAll)->Unit(benchmark::kMillisecond)->Iterations(10);

// A tree control that pays per call what a tree view pays per message in
// Wine: it looks the item up among every item it holds (a linear search).
class ScanningTree : public fakes::FakeTreeControl {
public:
    TreeNode AddLast(TreeNode parent, const std::string& label) override
    {
        return Hold(FakeTreeControl::AddLast(Check(parent), label));
    }
    TreeNode AddFirst(TreeNode parent, const std::string& label) override
    {
        return Hold(FakeTreeControl::AddFirst(Check(parent), label));
    }
    TreeNode InsertBefore(TreeNode sibling, const std::string& label) override
    {
        return Hold(FakeTreeControl::InsertBefore(Check(sibling), label));
    }
    std::string Label(TreeNode node) const override { return FakeTreeControl::Label(Check(node)); }
    void* Data(TreeNode node) const override { return FakeTreeControl::Data(Check(node)); }
    void SetData(TreeNode node, void* data) override { FakeTreeControl::SetData(Check(node), data); }
    TreeNode Parent(TreeNode node) const override { return FakeTreeControl::Parent(Check(node)); }
    int ChildCount(TreeNode node) const override { return FakeTreeControl::ChildCount(Check(node)); }
    TreeNode Child(TreeNode node, int index) const override { return FakeTreeControl::Child(Check(node), index); }
    void SetExpandable(TreeNode node, bool expandable) override
    {
        FakeTreeControl::SetExpandable(Check(node), expandable);
    }

private:
    TreeNode Hold(TreeNode node)
    {
        items_.push_back(node);
        return node;
    }
    TreeNode Check(TreeNode node) const
    {
        if (node && std::find(items_.begin(), items_.end(), node) == items_.end())
            std::abort();
        return node;
    }
    std::vector<TreeNode> items_;
};

// The whole library put into such a control, and the same library held in
// memory with only its top level in the control.
template <bool kLazy> void BM_LoadWithTreeViewCosts(benchmark::State& state)
{
    fakes::NativeFileSystem fs;
    for (auto _ : state) {
        ScanningTree control;
        TLazyTree lazy{control};
        fakes::FakeListBox hotKeys, macros;
        ITreeControl& tree = kLazy ? static_cast<ITreeControl&>(lazy) : control;
        TRepList lib{tree, hotKeys, macros, fs, Library().Root()};
        lib.BeginBulkLoad();
        lib.LoadFolderIndex(lib.RootIndexPath(), nullptr);
        lib.EndBulkLoad();
        state.counters["items in the control"] = control.Count();
        if (macros.Count() != Library().Replies())
            state.SkipWithError("library did not load completely");
    }
}
BENCHMARK_TEMPLATE(BM_LoadWithTreeViewCosts, false)
    ->Name("BM_LoadIntoTreeViewDouble")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_TEMPLATE(BM_LoadWithTreeViewCosts, true)
    ->Name("BM_LoadLazilyOverTreeViewDouble")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The generated library as the team library, beside an empty personal one.
struct LoadedTeamLibrary {
    fakes::NativeFileSystem native;
    TSharedWatch fs{native};
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys;
    fakes::FakeListBox macros;
    std::string personal = Library().Root() + "\\1\\1\\1";
    TRepList lib{tree, hotKeys, macros, fs, personal};
    std::string teamRoot = Library().Root();

    void Load() { lib.LoadSharedLibrary(teamRoot, "Team"); }
};

void BM_LoadTeamLibrary(benchmark::State& state)
{
    LoadedTeamLibrary loaded;
    for (auto _ : state) {
        loaded.Load();
        benchmark::DoNotOptimize(loaded.lib.Count());
    }
    // Every entry and the team's top folder.
    if (loaded.lib.Count() != Library().Replies() + Library().Folders() + 1
        || loaded.macros.Count() != Library().Replies())
        state.SkipWithError("team library did not load completely");
    state.counters["entries"] = loaded.lib.Count();
}
BENCHMARK(BM_LoadTeamLibrary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_TeamWatchLook(benchmark::State& state)
{
    LoadedTeamLibrary loaded;
    loaded.Load();
    if (!loaded.fs.Watch(loaded.teamRoot))
        state.SkipWithError("team library unreachable");
    for (auto _ : state) {
        const auto changed = loaded.fs.Look();
        if (!changed || !changed->empty())
            state.SkipWithError("a change was seen where there was none");
    }
}
BENCHMARK(BM_TeamWatchLook)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Another computer renames a reply in a third-level folder; one look finds
// the folder and it is reloaded. The poll's interval comes on top.
void BM_TeamChangeSeen(benchmark::State& state)
{
    LoadedTeamLibrary loaded;
    loaded.Load();
    (void)loaded.fs.Watch(loaded.teamRoot);
    const std::string dir = loaded.teamRoot + "\\4\\3\\2";
    const std::string index = fakes::ToPosixPath(dir + "\\index.sub");
    const std::string original = *loaded.native.ReadFile(dir + "\\index.sub");
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string changed = original;
        changed.replace(changed.find("?Reply"), 6, "?Renamed " + std::to_string(++round));
        std::ofstream(index, std::ios::binary) << changed;
        state.ResumeTiming();
        const auto folders = loaded.fs.Look();
        if (!folders || folders->size() != 1 || !loaded.lib.ReloadSharedFolder(folders->front()))
            state.SkipWithError("the change was not seen");
    }
    std::ofstream(index, std::ios::binary) << original;
}
BENCHMARK(BM_TeamChangeSeen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The generated library taken in as a team folder of change files (a copy
// of it, so the other figures keep theirs), on this computer's copy.
struct TeamChangesCopy {
    TeamChangesCopy()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-bench-team-XXXXXX").string();
        base = ::mkdtemp(pattern.data());
        std::filesystem::copy(
            fakes::ToPosixPath(Library().Root()), base + "/Team", std::filesystem::copy_options::recursive);
        team = fakes::ToWindowsPath(base + "/Team");
        copy = fakes::ToWindowsPath(base + "/Copy");
        TTeamReplica replica(native, copy, "BENCH", [] { return std::string("bench-id"); });
        (void)replica.Open();
        takenIn = replica.Exchange(native, team).takenIn;
    }
    ~TeamChangesCopy()
    {
        std::error_code ignored;
        std::filesystem::remove_all(base, ignored);
    }
    fakes::NativeFileSystem native;
    std::string base, team, copy;
    int takenIn = 0;
};

const TeamChangesCopy& TeamCopy()
{
    static const TeamChangesCopy copy;
    return copy;
}

// Start with a 10,000-reply team library: this computer's copy read and
// merged (the team folder is then only asked what is new).
void BM_OpenTeamChanges(benchmark::State& state)
{
    fakes::NativeFileSystem native;
    size_t shown = 0;
    for (auto _ : state) {
        TTeamReplica replica(native, TeamCopy().copy, "BENCH", [] { return std::string("bench-id"); });
        (void)replica.Open();
        shown = replica.View().entries.size();
    }
    if (TeamCopy().takenIn != Library().Replies() + Library().Folders()
        || shown != static_cast<size_t>(TeamCopy().takenIn))
        state.SkipWithError("team library did not load completely");
    state.counters["entries"] = static_cast<double>(shown);
}
BENCHMARK(BM_OpenTeamChanges)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Another computer's change file is in the team folder; one exchange takes
// it in and merges again. The poll's interval, a share's 10 s listing cache
// or the sync client's delay come on top.
void BM_TeamChangeArrives(benchmark::State& state)
{
    fakes::NativeFileSystem native;
    TTeamReplica replica(native, TeamCopy().copy, "BENCH", [] { return std::string("bench-id"); });
    (void)replica.Open();
    (void)replica.Exchange(native, TeamCopy().team);
    const TTeamShownEntry shown = replica.View().entries.back();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TTeamChange change{shown.entry, "OTHER-00000000." + std::to_string(++round), {shown.head}, {}};
        change.state.name = "Renamed " + std::to_string(round);
        change.state.parent = replica.View().entries.back().parent;
        std::ofstream(fakes::ToPosixPath(TeamChangesFolder(TeamCopy().team) + "\\" + TeamChangeFileName(change.key)),
            std::ios::binary)
            << FormatTeamChange(change);
        state.ResumeTiming();
        if (replica.Exchange(native, TeamCopy().team).arrived != 1)
            state.SkipWithError("the change was not seen");
    }
}
BENCHMARK(BM_TeamChangeArrives)->Unit(benchmark::kMillisecond)->Iterations(20);

// A computer joining the 10,000-reply team library with nothing kept yet:
// the team folder holds the fold the first computer wrote, so the change
// files it covers are not read one by one.
void BM_JoinTeamFromFold(benchmark::State& state)
{
    fakes::NativeFileSystem native;
    const std::string copy = TeamCopy().copy + "-joining";
    int folds = 0;
    for (const DirEntry& e : native.List(TeamChangesFolder(TeamCopy().team)))
        folds += TeamFoldOf(e.name) ? 1 : 0;
    size_t shown = 0;
    size_t held = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(fakes::ToPosixPath(copy));
        state.ResumeTiming();
        TTeamReplica replica(native, copy, "JOINER", [] { return std::string("join-id"); });
        replica.SetFoldEvery(1 << 30);
        (void)replica.Open();
        (void)replica.Exchange(native, TeamCopy().team);
        shown = replica.View().entries.size();
        held = replica.Changes().size();
    }
    // (BM_TeamChangeArrives, run before, leaves versions of one entry beside each other.)
    if (folds != 1 || shown < static_cast<size_t>(TeamCopy().takenIn))
        state.SkipWithError("the team library did not come from one fold");
    state.counters["entries"] = static_cast<double>(shown);
    state.counters["changes held"] = static_cast<double>(held);
    state.counters["folds"] = folds;
}
BENCHMARK(BM_JoinTeamFromFold)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace corvane

BENCHMARK_MAIN();
