#pragma once
// The library's tree in memory, shown through a tree control that holds only
// what the user has opened: the top level at once, a folder's children when
// the folder is first expanded (or when one of them is selected, edited or
// dropped on). A control pays for every item it holds (under some systems
// for every item on every call); the library asks its tree about structure
// all the time, so the answers come from memory.
#include "platform/TreeControl.h"

#include <memory>
#include <string>
#include <vector>

namespace corvane {

// A tree control that can show a node as expandable before it has children.
class ITreeView : public ITreeControl {
public:
    virtual void SetExpandable(TreeNode node, bool expandable) = 0;
};

class TLazyTree : public ITreeControl {
public:
    explicit TLazyTree(ITreeView& view);
    ~TLazyTree() override;
    TLazyTree(const TLazyTree&) = delete;
    TLazyTree& operator=(const TLazyTree&) = delete;

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
    void MoveBefore(TreeNode node, TreeNode target) override;

    int Count() const override { return count_; }
    TreeNode First() const override;

    void BeginUpdate() override { view_.BeginUpdate(); }
    void EndUpdate() override { view_.EndUpdate(); }

    TreeNode Selected() const override { return NodeOfView(view_.Selected()); }
    void Select(TreeNode node) override;

    bool IsExpanded(TreeNode node) const override;
    void Expand(TreeNode node) override;
    void EditLabel(TreeNode node) override;
    TreeNode NodeAt(int x, int y) const override { return NodeOfView(view_.NodeAt(x, y)); }

    // The node a view item shows, and the item that shows a node (nullptr
    // while its folder has not been opened).
    TreeNode NodeOfView(TreeNode item) const;
    TreeNode ViewOf(TreeNode node) const;
    // The view is about to expand `item`: its children go in now.
    void Expanding(TreeNode item);

private:
    struct Node;
    using Children = std::vector<std::unique_ptr<Node>>;
    static Node* AsNode(TreeNode node) { return static_cast<Node*>(node); }
    Children& ChildrenOf(Node* parent);
    const Children& ChildrenOf(const Node* parent) const;
    bool ChildrenShown(const Node* parent) const;
    TreeNode Insert(Node* parent, size_t index, const std::string& label);
    void Show(Node* node);
    void Fill(Node* node);
    void Reveal(Node* node);
    void Unshow(Node* node);
    void ShowExpandable(Node* node);
    std::unique_ptr<Node> Detach(Node* node);
    static int SubtreeSize(const Node* node);

    ITreeView& view_;
    Children top_;
    int count_ = 0;
};

} // namespace corvane
