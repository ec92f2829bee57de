#pragma once
// ITreeControl over a WC_TREEVIEW window. Node handles are HTREEITEMs; the
// data pointer is the item's lParam.
#include "library/LazyTree.h"

#include <windows.h>
#include <commctrl.h>

namespace corvane::win32 {

class TreeViewControl : public ITreeView {
public:
    explicit TreeViewControl(HWND treeView) : hwnd_(treeView) { }

    TreeNode AddLast(TreeNode parent, const std::string& label) override;
    TreeNode AddFirst(TreeNode parent, const std::string& label) override;
    TreeNode InsertBefore(TreeNode sibling, const std::string& label) override;

    std::string Label(TreeNode node) const override;
    void SetLabel(TreeNode node, const std::string& label) override;
    void* Data(TreeNode node) const override;
    void SetData(TreeNode node, void* data) override;

    TreeNode Parent(TreeNode node) const override;
    int ChildCount(TreeNode node) const override;
    TreeNode Child(TreeNode node, int index) const override;

    void Delete(TreeNode node) override;
    // The tree view cannot move items: the subtree is copied before the
    // target and the original deleted, so the moved nodes get new handles.
    void MoveBefore(TreeNode node, TreeNode target) override;

    int Count() const override;
    TreeNode First() const override;

    // The expand button of a node whose children are not inserted yet.
    void SetExpandable(TreeNode node, bool expandable) override;

    void BeginUpdate() override;
    void EndUpdate() override;

    TreeNode Selected() const override;
    void Select(TreeNode node) override;

    bool IsExpanded(TreeNode node) const override;
    void Expand(TreeNode node) override;
    void EditLabel(TreeNode node) override;
    TreeNode NodeAt(int x, int y) const override;

    HWND Handle() const { return hwnd_; }

private:
    HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, const std::string& label);
    HTREEITEM FirstChildOf(TreeNode node) const;
    // Copies `source` and its descendants; `selectedCopy` receives the copy of
    // `selected` when it lies in the subtree.
    HTREEITEM CopySubtree(
        HTREEITEM source, HTREEITEM parent, HTREEITEM after, HTREEITEM selected, HTREEITEM& selectedCopy);

    HWND hwnd_;
    int updateDepth_ = 0;
};

} // namespace corvane::win32
