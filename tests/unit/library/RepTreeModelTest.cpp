#include "LibraryTestSupport.h"

namespace corvane {
namespace {

struct TreeModel : testing::LibraryFixture {
    TRep* AddReply(const std::string& name, TreeNode parent, const std::string& number)
    {
        TRep* rep = lib.Items(lib.AddNodeLast(name, parent));
        rep->FileName = number + ".rep";
        return rep;
    }
    TRep* AddFolder(const std::string& name, TreeNode parent, const std::string& number)
    {
        TRep* rep = lib.Items(lib.AddNodeLast(name, parent));
        rep->FolderName = number;
        return rep;
    }
};

TEST_F(TreeModel, PathsFollowTheFolderChainFromTheRoot)
{
    TRep* two = AddFolder("Two", nullptr, "2");
    TRep* seven = AddFolder("Seven", two->Node, "7");
    TRep* reply = AddReply("Deep", seven->Node, "12");
    TRep* top = AddReply("Top", nullptr, "3");
    const std::string root = dir.Win("");
    EXPECT_EQ(top->ContainerPath(), root);
    EXPECT_EQ(top->OwnPath(), root + "\\3.rep");
    EXPECT_EQ(two->FolderPath(), root + "\\2");
    EXPECT_EQ(seven->OwnPath(), root + "\\2\\7");
    EXPECT_EQ(reply->ContainerPath(), root + "\\2\\7");
    EXPECT_EQ(reply->OwnPath(), root + "\\2\\7\\12.rep");
    EXPECT_TRUE(seven->IsFolder());
    EXPECT_FALSE(reply->IsFolder());
    EXPECT_TRUE(reply->HasSafePath());
    seven->FolderName = "..";
    EXPECT_FALSE(reply->HasSafePath());
    EXPECT_FALSE(seven->HasSafePath());
}

TEST(LibraryRoot, TheRootIndexLiesInTheDataFoldersLibrary)
{
    const std::string root = LibraryRootIn("C:\\Users\\a\\AppData\\Roaming\\Corvane 2\\");
    EXPECT_EQ(root, "C:\\Users\\a\\AppData\\Roaming\\Corvane 2\\Replies");
    fakes::FakeTreeControl tree;
    fakes::FakeListBox hotKeys, macros;
    fakes::MemoryFileSystem fs;
    TRepList lib(tree, hotKeys, macros, fs, root);
    EXPECT_EQ(lib.RootIndexPath(), root + "\\index.sub");
    EXPECT_EQ(lib.Items(lib.AddNodeLast("Top", nullptr))->ContainerPath(), root);
}

TEST_F(TreeModel, AddsNodesFirstLastAndBeforeASiblingAndLinksBothWays)
{
    const int a = lib.AddNodeLast("A", nullptr);
    const int c = lib.AddNodeLast("C", nullptr);
    lib.InsertNodeBefore("B", lib.Items(c)->Node);
    lib.AddNodeFirst("Z", nullptr);
    lib.AddNodeFirst("a1", lib.Items(a)->Node);
    lib.AddNodeLast("a2", lib.Items(a)->Node);
    EXPECT_EQ(tree.Outline(), "Z,A(a1,a2),B,C");
    EXPECT_EQ(lib.Count(), 6);
    for (int i = 0; i < lib.Count(); ++i)
        EXPECT_EQ(tree.Data(lib.Items(i)->Node), lib.Items(i));
    EXPECT_EQ(lib.IndexOf(lib.Items(3)), 3);
    EXPECT_EQ(lib.IndexOf(nullptr), -1);
}

TEST_F(TreeModel, RemoveSubtreeLeavesNoNodeTRepOrIndexEntryBehind)
{
    TRep* keep = AddReply("Keep", nullptr, "1");
    TRep* folder = AddFolder("F", nullptr, "1");
    TRep* inner = AddFolder("G", folder->Node, "1");
    TRep* r1 = AddReply("r1", folder->Node, "1");
    TRep* r2 = AddReply("r2", inner->Node, "1");
    TRep* r3 = AddReply("r3", inner->Node, "2");
    ASSERT_TRUE(lib.SetMacro(keep, "keep"));
    ASSERT_TRUE(lib.SetMacro(r1, "one"));
    ASSERT_TRUE(lib.SetMacro(r2, "two(a)"));
    ASSERT_TRUE(lib.SetHotKey(r2, "0A"));
    ASSERT_TRUE(lib.SetHotKey(r3, "1B"));
    ASSERT_TRUE(lib.SetHotKey(keep, "05"));

    lib.RemoveSubtree(folder->Node);

    EXPECT_EQ(tree.Outline(), "Keep");
    EXPECT_EQ(tree.Count(), 1);
    ASSERT_EQ(lib.Count(), 1);
    EXPECT_EQ(lib.Items(0), keep);
    EXPECT_EQ(macroBox.Texts(), std::vector<std::string>{"keep"});
    EXPECT_EQ(hotKeyBox.Texts(), std::vector<std::string>{"<CTRL>+<ALT>+5"});
    EXPECT_EQ(macroBox.Data(0), keep);
    EXPECT_EQ(hotKeyBox.Data(0), keep);
    EXPECT_EQ(lib.MacroCount(), 1);
    EXPECT_EQ(lib.HotKeyCount(), 1);
    EXPECT_EQ(lib.MatchMacro("two(x)"), -1);
    EXPECT_EQ(lib.FindHotKey("0A"), -1);
}

TEST_F(TreeModel, DeleteAtTakesTheChildrenAlong)
{
    TRep* folder = AddFolder("F", nullptr, "1");
    TRep* child = AddReply("c", folder->Node, "1");
    ASSERT_TRUE(lib.SetMacro(child, "c"));
    lib.DeleteAt(lib.IndexOf(folder));
    EXPECT_EQ(lib.Count(), 0);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(macroBox.Count(), 0);
}

TEST_F(TreeModel, ClearAllEmptiesTreeListAndIndexes)
{
    lib.ClearAll();
    EXPECT_EQ(lib.Count(), 0);
    TRep* folder = AddFolder("F", nullptr, "1");
    TRep* reply = AddReply("r", folder->Node, "1");
    ASSERT_TRUE(lib.SetMacro(reply, "m"));
    ASSERT_TRUE(lib.SetHotKey(reply, "0M"));
    lib.ClearAll();
    EXPECT_EQ(lib.Count(), 0);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(tree.First(), nullptr);
    EXPECT_EQ(lib.MacroCount(), 0);
    EXPECT_EQ(lib.HotKeyCount(), 0);
    EXPECT_EQ(macroBox.Count(), 0);
    EXPECT_EQ(hotKeyBox.Count(), 0);
}

TEST_F(TreeModel, SetBodySplitsEmbeddedLineBreaksAsAFileReadWould)
{
    TRep* reply = AddReply("r", nullptr, "1");
    lib.SetBody(reply, {"{\\rtf1\r\n\\par x", "y\rz", ""});
    EXPECT_EQ(reply->Lines, (std::vector<std::string>{"{\\rtf1", "\\par x", "y", "z", ""}));
    lib.SetBodyText(reply, "a\r\nb\r\n");
    EXPECT_EQ(reply->Lines, (std::vector<std::string>{"a", "b"}));
}

TEST_F(TreeModel, MoveNodeBeforeRelinksEveryMovedEntry)
{
    TRep* a = AddFolder("A", nullptr, "1");
    TRep* inner = AddReply("inner", a->Node, "1");
    TRep* b = AddReply("B", nullptr, "1");
    TRep* f = AddFolder("F", nullptr, "2");
    TRep* target = AddReply("t", f->Node, "1");
    lib.MoveNodeBefore(a, target);
    EXPECT_EQ(tree.Outline(), "B,F(A(inner),t)");
    EXPECT_EQ(tree.Data(inner->Node), inner);
    EXPECT_EQ(tree.Parent(a->Node), f->Node);
    lib.MoveNodeBefore(f, target); // into its own subtree: refused
    EXPECT_EQ(tree.Outline(), "B,F(A(inner),t)");
    lib.MoveNodeBefore(b, b);
    EXPECT_EQ(tree.Outline(), "B,F(A(inner),t)");
}

} // namespace
} // namespace corvane
