// The library's tree in memory and the control that shows only the opened
// folders: the control's order, selection and expand buttons follow the
// memory tree whenever a folder is opened late.
#include "fakes/FakeTreeControl.h"
#include "library/LazyTree.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

class LazyTreeTest : public ::testing::Test {
protected:
    LazyTreeTest()
    {
        view.likeTreeView = true;
        // Support(Hello, Prices(Net, Gross), Bye), Thanks
        support = tree.AddLast(nullptr, "Support");
        thanks = tree.AddLast(nullptr, "Thanks");
        tree.AddLast(support, "Hello");
        prices = tree.AddLast(support, "Prices");
        tree.AddLast(support, "Bye");
        gross = tree.AddLast(prices, "Gross");
        net = tree.AddFirst(prices, "Net");
    }
    // The memory tree as FakeTreeControl::Outline writes the control's.
    std::string Whole(TreeNode from = nullptr) const
    {
        std::string out;
        for (int i = 0; i < tree.ChildCount(from); ++i) {
            const TreeNode child = tree.Child(from, i);
            out += (i ? "," : "") + tree.Label(child);
            if (tree.ChildCount(child) > 0)
                out += "(" + Whole(child) + ")";
        }
        return out;
    }
    void Open(TreeNode node)
    {
        tree.Expanding(tree.ViewOf(node));
        view.SetExpanded(tree.ViewOf(node), true);
    }

    fakes::FakeTreeControl view;
    TLazyTree tree{view};
    TreeNode support, thanks, prices, net, gross;
};

TEST_F(LazyTreeTest, OnlyOpenedFoldersAreInTheControlInTheLibrarysOrder)
{
    EXPECT_EQ(view.Outline(), "Support,Thanks");
    EXPECT_EQ(view.Count(), 2);
    EXPECT_EQ(tree.Count(), 7);
    EXPECT_TRUE(view.Expandable(tree.ViewOf(support)));
    EXPECT_FALSE(view.Expandable(tree.ViewOf(thanks)));
    EXPECT_EQ(tree.ViewOf(prices), nullptr);

    Open(support);
    EXPECT_EQ(view.Outline(), "Support(Hello,Prices,Bye),Thanks");
    EXPECT_TRUE(view.Expandable(tree.ViewOf(prices)));
    // Added while closed, and while open, each lands in its place.
    tree.InsertBefore(gross, "Tax");
    const TreeNode hi = tree.InsertBefore(tree.Child(support, 2), "Hi");
    tree.AddFirst(support, "Welcome");
    EXPECT_EQ(view.Outline(), "Support(Welcome,Hello,Prices,Hi,Bye),Thanks");
    Open(prices);
    EXPECT_EQ(view.Outline(), Whole());
    EXPECT_EQ(Whole(), "Support(Welcome,Hello,Prices(Net,Tax,Gross),Hi,Bye),Thanks");
    // The control's items stand for the memory tree's nodes.
    EXPECT_EQ(tree.NodeOfView(view.Find("Support/Hi")), hi);
}

TEST_F(LazyTreeTest, AClosedFolderFilledWithRepliesTellsTheControlOnceThatItOpens)
{
    const TreeNode orders = tree.AddLast(nullptr, "Orders");
    const int callsBefore = view.expandableCalls;
    for (int i = 0; i < 100; ++i)
        tree.AddLast(orders, "Reply " + std::to_string(i));
    EXPECT_EQ(view.expandableCalls - callsBefore, 1);
    EXPECT_TRUE(view.Expandable(tree.ViewOf(orders)));
    // Emptied and given a reply again while closed, it can be opened again.
    while (tree.ChildCount(orders) > 0)
        tree.Delete(tree.Child(orders, 0));
    EXPECT_FALSE(view.Expandable(tree.ViewOf(orders)));
    tree.AddLast(orders, "Reply");
    EXPECT_TRUE(view.Expandable(tree.ViewOf(orders)));
    Open(orders);
    EXPECT_EQ(view.Outline(tree.ViewOf(orders)), "Reply");
}

TEST_F(LazyTreeTest, SelectingOrEditingANodeInAClosedFolderOpensTheWayToIt)
{
    tree.Select(gross);
    EXPECT_EQ(tree.Selected(), gross);
    EXPECT_EQ(view.Selected(), view.Find("Support/Prices/Gross"));
    EXPECT_EQ(view.Outline(), "Support(Hello,Prices(Net,Gross),Bye),Thanks");
    tree.Select(nullptr);
    EXPECT_EQ(tree.Selected(), nullptr);

    const TreeNode fresh = tree.AddLast(tree.AddLast(thanks, "Box"), "Inner");
    tree.EditLabel(fresh);
    EXPECT_EQ(tree.NodeOfView(view.Editing()), fresh);
    EXPECT_EQ(view.Outline(), Whole());
}

TEST_F(LazyTreeTest, MovesKeepTheSelectionTheOrderAndTheExpandButtons)
{
    tree.Select(net);
    // Out of a folder opened by the selection, before a top-level node.
    tree.MoveBefore(prices, thanks);
    EXPECT_EQ(tree.Selected(), net);
    EXPECT_EQ(view.Outline(), "Support(Hello,Bye),Prices(Net,Gross),Thanks");
    EXPECT_EQ(view.Outline(), Whole());
    // A node never shown moves into an open folder.
    tree.MoveBefore(gross, tree.Child(support, 1));
    EXPECT_EQ(view.Outline(), Whole());
    EXPECT_EQ(Whole(), "Support(Hello,Gross,Bye),Prices(Net),Thanks");
    EXPECT_EQ(tree.Selected(), net);
    // A folder moved keeps its children; emptied, it loses its button.
    tree.MoveBefore(support, thanks);
    view.SetExpanded(tree.ViewOf(support), false);
    const TreeNode bye = tree.Child(support, 2);
    tree.Delete(tree.Child(prices, 0));
    EXPECT_FALSE(view.Expandable(tree.ViewOf(prices)));
    EXPECT_EQ(tree.Label(bye), "Bye");
    EXPECT_EQ(view.Outline(), Whole());
    EXPECT_EQ(tree.Count(), 6);
}

TEST_F(LazyTreeTest, DeletingAClosedFolderTakesItsHiddenChildrenAlong)
{
    tree.Delete(support);
    EXPECT_EQ(tree.Count(), 1);
    EXPECT_EQ(Whole(), "Thanks");
    EXPECT_EQ(view.Outline(), "Thanks");
}

} // namespace
} // namespace corvane
