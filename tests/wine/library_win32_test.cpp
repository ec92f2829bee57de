// The library's Win32 adapters on the real system: the file system (atomic
// replace, directory rename, listing, tree deletion), the tree view and list
// box adapters on real controls in a hidden window, and the whole library
// over them.
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "win32/FolderWatcher.h"
#include "win32/Handles.h"
#include "win32/ListBoxControl.h"
#include "win32/TreeViewControl.h"
#include "win32/Win32FileSystem.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#undef DeleteFile

namespace corvane::win32 {
namespace {

class TempDir {
public:
    TempDir()
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::string(temp) + "corvane-lib-" + std::to_string(::GetCurrentProcessId()) + "-"
            + std::to_string(++counter);
        fs_.CreateDirs(path_);
    }
    ~TempDir() { DeleteTree(fs_, path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    Win32FileSystem fs_;
    std::string path_;
};

std::vector<std::string> Names(const std::vector<DirEntry>& entries)
{
    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry.name + (entry.isDir ? "\\" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Win32FileSystemTest, WriteReplacingSwapsTheWholeFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    Win32FileSystem fs;
    const std::string file = dir / "index.sub";
    ASSERT_TRUE(fs.WriteFileReplacing(file, "old\r\nlines\r\n"));
    ASSERT_TRUE(fs.WriteFileReplacing(file, "new\r\n"));
    EXPECT_EQ(fs.ReadFile(file).value_or("<unreadable>"), "new\r\n");
    EXPECT_EQ(Names(fs.List(dir.Path())), std::vector<std::string>{"index.sub"});
    ASSERT_TRUE(fs.WriteFileReplacing(file, ""));
    EXPECT_EQ(fs.ReadFile(file).value_or("<unreadable>"), "");
}

TEST(Win32FileSystemTest, WriteReplacingIntoAMissingDirectoryFailsAndCreatesNothing)
{
    TempDir dir;
    Win32FileSystem fs;
    EXPECT_FALSE(fs.WriteFileReplacing(dir / "missing\\1.rep", "x"));
    EXPECT_TRUE(fs.List(dir.Path()).empty());
    EXPECT_FALSE(fs.ReadFile(dir / "missing\\1.rep").has_value());
}

TEST(Win32FileSystemTest, CreateNewFileCreatesOnceAndTellsTheWriteTime)
{
    TempDir dir;
    Win32FileSystem fs;
    const std::string lock = dir / "index.lck";
    ASSERT_TRUE(fs.CreateNewFile(lock, "first"));
    EXPECT_FALSE(fs.CreateNewFile(lock, "second"));
    EXPECT_EQ(fs.ReadFile(lock).value_or("<unreadable>"), "first");
    EXPECT_FALSE(fs.CreateNewFile(dir / "missing\\index.lck", "x"));

    const long long now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
              .count();
    const std::optional<long long> written = fs.LastWriteTime(lock);
    ASSERT_TRUE(written.has_value());
    EXPECT_LT(std::llabs(now - *written), 5000);
    EXPECT_FALSE(fs.LastWriteTime(dir / "missing").has_value());
}

// Windows tells of changes in subfolders too; Wine 8 only of those in the
// folder itself, which is why the poll stays.
TEST(Win32FileSystemTest, AFolderWatcherTellsOfAChangeInTheFolder)
{
    TempDir dir;
    Win32FileSystem fs;
    UniqueWindow window(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    constexpr UINT kChanged = WM_APP + 7;
    FolderWatcher watcher(dir.Path(), window.Get(), kChanged);
    ASSERT_TRUE(watcher.Watching());
    ::Sleep(200);
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "index.sub", "REPLY_1?x\r\n"));
    bool told = false;
    for (int i = 0; i < 100 && !told; ++i) {
        MSG msg;
        told = ::PeekMessageA(&msg, window.Get(), kChanged, kChanged, PM_REMOVE) != FALSE;
        if (!told)
            ::Sleep(50);
    }
    EXPECT_TRUE(told);
}

TEST(Win32FileSystemTest, RenamesADirectoryWithItsContentsButNeverOntoAnExistingName)
{
    TempDir dir;
    Win32FileSystem fs;
    ASSERT_TRUE(fs.CreateDirs(dir / "a\\b"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "a\\b\\1.rep", "x"));
    ASSERT_TRUE(fs.CreateDir(dir / "c"));
    EXPECT_FALSE(fs.Rename(dir / "a", dir / "c"));
    EXPECT_TRUE(fs.Rename(dir / "a", dir / "d"));
    EXPECT_TRUE(fs.FileExists(dir / "d\\b\\1.rep"));
    EXPECT_TRUE(fs.DirExists(dir / "d\\b"));
    EXPECT_FALSE(fs.DirExists(dir / "a"));
    EXPECT_FALSE(fs.FileExists(dir / "d\\b"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "x.rep", "1"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "y.rep", "2"));
    EXPECT_FALSE(fs.Rename(dir / "x.rep", dir / "y.rep"));
    EXPECT_EQ(fs.ReadFile(dir / "y.rep").value_or(""), "2");
}

TEST(Win32FileSystemTest, ListsFilesAndDirectoriesWithoutDots)
{
    TempDir dir;
    Win32FileSystem fs;
    ASSERT_TRUE(fs.CreateDir(dir / "3"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "1.rep", ""));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "index.sub", ""));
    EXPECT_EQ(Names(fs.List(dir.Path())), (std::vector<std::string>{"1.rep", "3\\", "index.sub"}));
    EXPECT_EQ(FreeReplyNumber(fs, dir.Path()), "2");
    EXPECT_EQ(FreeFolderNumber(fs, dir.Path()), "1");
    EXPECT_FALSE(fs.IsLink(dir / "3"));
}

TEST(Win32FileSystemTest, AListingTellsOfEachEntryWhatIsLinkTells)
{
    TempDir dir;
    Win32FileSystem fs;
    ASSERT_TRUE(fs.CreateDir(dir / "3"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "1.rep", ""));
    // Some systems answer yes and make nothing.
    const bool linked
        = ::CreateSymbolicLinkA((dir / "4").c_str(), (dir / "3").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) != 0
        && fs.DirExists(dir / "4");
    const std::vector<DirEntry> listing = fs.List(dir.Path());
    EXPECT_EQ(listing.size(), linked ? 3u : 2u);
    for (const DirEntry& entry : listing)
        EXPECT_EQ(entry.isLink, fs.IsLink(dir / entry.name)) << entry.name;
    if (!linked)
        GTEST_SKIP() << "no symbolic link could be made here";
    EXPECT_TRUE(fs.IsLink(dir / "4"));
}

TEST(Win32FileSystemTest, DeleteTreeRemovesNestedAndReadOnlyFiles)
{
    TempDir dir;
    Win32FileSystem fs;
    ASSERT_TRUE(fs.CreateDirs(dir / "5\\2\\7"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "5\\index.sub", "x"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "5\\2\\7\\1.rep", "x"));
    ASSERT_TRUE(::SetFileAttributesA((dir / "5\\2\\7\\1.rep").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "keep.rep", "x"));
    EXPECT_TRUE(DeleteTree(fs, dir / "5"));
    EXPECT_FALSE(fs.DirExists(dir / "5"));
    EXPECT_EQ(Names(fs.List(dir.Path())), std::vector<std::string>{"keep.rep"});
}

// A hidden top-level window holding a tree view and a list box.
class HiddenControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        host_ = UniqueWindow(::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
            nullptr, ::GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(host_);
        treeView_ = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASBUTTONS | TVS_EDITLABELS, 0, 0, 200, 300,
            host_.Get(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
        listBox_ = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY, 200, 0, 200, 300, host_.Get(), nullptr,
            ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(treeView_, nullptr);
        ASSERT_NE(listBox_, nullptr);
    }

    // Labels of the whole tree, children in parentheses: "A(B,C),D".
    static std::string Outline(const ITreeControl& tree, TreeNode parent = nullptr)
    {
        std::string text;
        for (int i = 0; i < tree.ChildCount(parent); ++i) {
            const TreeNode node = tree.Child(parent, i);
            text += (i ? "," : "") + tree.Label(node);
            if (tree.ChildCount(node) > 0)
                text += "(" + Outline(tree, node) + ")";
        }
        return text;
    }

    UniqueWindow host_;
    HWND treeView_ = nullptr;
    HWND listBox_ = nullptr;
};

TEST_F(HiddenControls, TreeViewAddsInsertsAndReadsBack)
{
    TreeViewControl tree(treeView_);
    const TreeNode b = tree.AddLast(nullptr, "B");
    const TreeNode d = tree.AddLast(nullptr, "D");
    tree.AddFirst(nullptr, "A");
    const TreeNode c = tree.InsertBefore(d, "C");
    tree.AddLast(b, "b2");
    tree.AddFirst(b, "b1");
    tree.InsertBefore(tree.Child(b, 0), "b0");
    EXPECT_EQ(Outline(tree), "A,B(b0,b1,b2),C,D");
    EXPECT_EQ(tree.Count(), 7);
    EXPECT_EQ(tree.Label(tree.First()), "A");
    EXPECT_EQ(tree.Parent(b), nullptr);
    EXPECT_EQ(tree.Parent(tree.Child(b, 2)), b);
    EXPECT_EQ(tree.ChildCount(b), 3);
    EXPECT_EQ(tree.Child(b, 3), nullptr);

    int payload = 0;
    tree.SetData(c, &payload);
    EXPECT_EQ(tree.Data(c), &payload);
    EXPECT_EQ(tree.Data(d), nullptr);
    const std::string longLabel(3000, 'x');
    tree.SetLabel(c, longLabel);
    EXPECT_EQ(tree.Label(c), longLabel);

    tree.Select(c);
    EXPECT_EQ(tree.Selected(), c);
    tree.Select(nullptr);
    EXPECT_EQ(tree.Selected(), nullptr);
    EXPECT_FALSE(tree.IsExpanded(b));
    TreeView_Expand(treeView_, static_cast<HTREEITEM>(b), TVE_EXPAND);
    EXPECT_TRUE(tree.IsExpanded(b));
    tree.BeginUpdate();
    tree.BeginUpdate();
    tree.EndUpdate();
    tree.EndUpdate();
}

TEST_F(HiddenControls, TreeViewMovesASubtreeWithItsDataAndDeletesSubtrees)
{
    TreeViewControl tree(treeView_);
    int folderData = 1;
    int childData = 2;
    const TreeNode folder = tree.AddLast(nullptr, "F");
    tree.SetData(folder, &folderData);
    tree.SetData(tree.AddLast(folder, "f1"), &childData);
    tree.AddLast(tree.Child(folder, 0), "f1a");
    const TreeNode other = tree.AddLast(nullptr, "O");
    const TreeNode target = tree.AddLast(other, "t");
    tree.Select(tree.Child(folder, 0));
    TreeView_Expand(treeView_, static_cast<HTREEITEM>(folder), TVE_EXPAND);

    tree.MoveBefore(folder, target);
    EXPECT_EQ(Outline(tree), "O(F(f1(f1a)),t)");
    const TreeNode moved = tree.Child(other, 0);
    EXPECT_EQ(tree.Data(moved), &folderData);
    EXPECT_EQ(tree.Data(tree.Child(moved, 0)), &childData);
    EXPECT_EQ(tree.Selected(), tree.Child(moved, 0));
    EXPECT_TRUE(tree.IsExpanded(moved));
    EXPECT_FALSE(tree.IsExpanded(tree.Child(moved, 0)));
    EXPECT_EQ(tree.Count(), 5);

    tree.MoveBefore(target, moved);
    EXPECT_EQ(Outline(tree), "O(t,F(f1(f1a)))");

    tree.Delete(tree.Child(other, 1));
    EXPECT_EQ(Outline(tree), "O(t)");
    EXPECT_EQ(tree.Count(), 2);
}

TEST_F(HiddenControls, ListBoxKeepsTextDataAndSelection)
{
    ListBoxControl list(listBox_);
    int first = 1;
    int second = 2;
    list.BeginUpdate();
    list.Add("zeta", &first);
    list.Add("alpha", &second);
    list.EndUpdate();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(0), "zeta");
    EXPECT_EQ(list.Data(1), &second);
    EXPECT_EQ(list.SelectedIndex(), -1);
    list.Select(1);
    EXPECT_EQ(list.SelectedIndex(), 1);
    list.Select(-1);
    EXPECT_EQ(list.SelectedIndex(), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(HiddenControls, TheLibraryLoadsAndMovesOverTheRealControlsAndFiles)
{
    TempDir dir;
    Win32FileSystem fs;
    ASSERT_TRUE(fs.CreateDirs(dir / "Replies\\2"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "Replies\\index.sub", "REPLY_1?one\r\nFOLDER_2?Folder\r\n"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "Replies\\1.rep", "sig\r\n0A\r\n{\\rtf1}\r\n"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "Replies\\2\\index.sub", "REPLY_1?inner\r\nREPLY_2?other\r\n"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "Replies\\2\\1.rep", "\r\n\r\n"));
    ASSERT_TRUE(fs.WriteFileReplacing(dir / "Replies\\2\\2.rep", "\r\n\r\n"));

    TreeViewControl tree(treeView_);
    ListBoxControl hotKeys(listBox_);
    ListBoxControl macros(::CreateWindowExA(
        0, "LISTBOX", "", WS_CHILD, 0, 0, 10, 10, host_.Get(), nullptr, ::GetModuleHandleA(nullptr), nullptr));
    {
        TRepList lib(tree, hotKeys, macros, fs, LibraryRootIn(dir.Path() + "\\"));
        lib.BeginBulkLoad();
        lib.ClearAll();
        lib.LoadFolderIndex(lib.RootIndexPath(), nullptr);
        lib.EndBulkLoad();
        EXPECT_EQ(Outline(tree), "one,Folder(inner,other)");
        ASSERT_EQ(macros.Count(), 1);
        EXPECT_EQ(macros.Text(0), "sig");
        EXPECT_EQ(hotKeys.Text(0), "<CTRL>+<ALT>+A");

        TRep* one = lib.RepOf(tree.First());
        TRep* folder = lib.RepOf(tree.Child(nullptr, 1));
        TRep* other = lib.RepOf(tree.Child(folder->Node, 1));
        ASSERT_TRUE(lib.MoveBefore(one, other));
        lib.MoveNodeBefore(one, other);
        EXPECT_EQ(Outline(tree), "Folder(inner,one,other)");
        EXPECT_EQ(tree.Data(one->Node), one);
        EXPECT_EQ(one->OwnPath(), dir / "Replies\\2\\3.rep");
        EXPECT_TRUE(fs.FileExists(dir / "Replies\\2\\3.rep"));
        EXPECT_EQ(fs.ReadFile(dir / "Replies\\2\\index.sub").value_or(""),
            "REPLY_1?inner\r\nREPLY_3?one\r\nREPLY_2?other\r\n");
        EXPECT_TRUE(lib.RenameEntry(one, "uno"));
        EXPECT_EQ(tree.Label(one->Node), "uno");
        EXPECT_TRUE(lib.SaveReplyFile(one));
        EXPECT_EQ(fs.ReadFile(one->OwnPath()).value_or(""), "sig\r\n0A\r\n{\\rtf1}\r\n");
        EXPECT_EQ(macros.Data(0), one);
    }
    EXPECT_EQ(tree.Count(), 0);
}

} // namespace
} // namespace corvane::win32
