#pragma once
// What the reply library needs of a tree control. The Win32 tree view is one
// implementation, the in-memory tree of the tests another.
#include <string>

namespace corvane {

// Opaque node handle; nullptr means "no node" (and, as a parent, the top level).
using TreeNode = void*;

class ITreeControl {
public:
    virtual ~ITreeControl() = default;

    // Adding nodes. A null parent stands for the top level.
    virtual TreeNode AddLast(TreeNode parent, const std::string& label) = 0;
    virtual TreeNode AddFirst(TreeNode parent, const std::string& label) = 0;
    // Inserts just before `sibling`, under the sibling's parent.
    virtual TreeNode InsertBefore(TreeNode sibling, const std::string& label) = 0;

    virtual std::string Label(TreeNode node) const = 0;
    virtual void SetLabel(TreeNode node, const std::string& label) = 0;
    virtual void* Data(TreeNode node) const = 0;
    virtual void SetData(TreeNode node, void* data) = 0;

    // Structure. Parent of a top-level node is nullptr; ChildCount/Child of
    // nullptr address the top level.
    virtual TreeNode Parent(TreeNode node) const = 0;
    virtual int ChildCount(TreeNode node) const = 0;
    virtual TreeNode Child(TreeNode node, int index) const = 0;

    // Deletes the node with its whole subtree.
    virtual void Delete(TreeNode node) = 0;
    // Moves `node` (with its subtree) to just before `target`; target's parent
    // becomes node's parent. A control without a native move may re-create
    // the moved nodes under new handles, data pointers carried along.
    virtual void MoveBefore(TreeNode node, TreeNode target) = 0;

    // Nodes of the whole tree, and the first top-level node.
    virtual int Count() const = 0;
    virtual TreeNode First() const = 0;

    // Bulk update: no repainting in between. Calls nest.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

    virtual TreeNode Selected() const = 0;
    virtual void Select(TreeNode node) = 0; // nullptr clears the selection

    virtual bool IsExpanded(TreeNode node) const = 0;
    virtual void Expand(TreeNode node) = 0;
    virtual void EditLabel(TreeNode node) = 0;
    // Node under a point in the control's client coordinates, or nullptr.
    virtual TreeNode NodeAt(int x, int y) const = 0;
};

} // namespace corvane
