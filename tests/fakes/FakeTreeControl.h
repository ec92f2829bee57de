#pragma once
// An in-memory tree with the behaviour of a tree view: nodes keep their
// handles when moved, deleting a node deletes its subtree.
#include "library/LazyTree.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane::fakes {

class FakeTreeControl : public ITreeView {
public:
    FakeTreeControl() = default;
    ~FakeTreeControl() override;

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

    void SetExpandable(TreeNode node, bool expandable) override
    {
        AsNode(node)->expandable = expandable;
        ++expandableCalls;
    }
    void BeginUpdate() override { ++updateDepth_; }
    void EndUpdate() override { --updateDepth_; }

    TreeNode Selected() const override { return selected_; }
    void Select(TreeNode node) override;

    bool IsExpanded(TreeNode node) const override;
    void Expand(TreeNode node) override { SetExpanded(node, true); }
    void EditLabel(TreeNode node) override { editing_ = node; }
    TreeNode NodeAt(int, int) const override { return nullptr; }

    // Test helpers.
    // Makes the tree behave as the Win32 tree view does: a change of the
    // selection raises the two events below, deleting the selected node moves
    // the selection to a neighbour, and a move re-creates the moved nodes
    // under new handles (selecting the copy of a selected one first).
    bool likeTreeView = false;
    std::function<void()> onSelChanging; // the old node is still selected
    std::function<void()> onSelChanged;
    void SetExpanded(TreeNode node, bool expanded);
    int UpdateDepth() const { return updateDepth_; }
    bool Expandable(TreeNode node) const { return AsNode(node)->expandable; }
    int expandableCalls = 0; // each costs a message to a real control
    TreeNode Editing() const { return editing_; }
    // Labels of the whole tree, children in parentheses: "A(B,C),D".
    std::string Outline(TreeNode from = nullptr) const;
    // Node by label path "A/B"; nullptr when absent.
    TreeNode Find(const std::string& labelPath) const;

private:
    struct Node {
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
        std::string label;
        void* data = nullptr;
        bool expanded = false;
        bool expandable = false;
    };
    static Node* AsNode(TreeNode node) { return static_cast<Node*>(node); }
    std::vector<std::unique_ptr<Node>>& ChildrenOf(Node* parent);
    const std::vector<std::unique_ptr<Node>>& ChildrenOf(const Node* parent) const;
    TreeNode InsertAt(Node* parent, size_t index, const std::string& label);
    std::unique_ptr<Node> Detach(Node* node);
    static int SubtreeSize(const Node* node);
    bool Contains(const Node* node, const Node* inner) const;
    TreeNode NeighbourOf(const Node* node) const;
    std::unique_ptr<Node> CopyOf(const Node* node, Node* parent, const Node* selected, Node*& selectedCopy);

    std::vector<std::unique_ptr<Node>> top_;
    int count_ = 0;
    int updateDepth_ = 0;
    TreeNode selected_ = nullptr;
    TreeNode editing_ = nullptr;
};

} // namespace corvane::fakes
