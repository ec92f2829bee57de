#include "library/LazyTree.h"

#include <stdexcept>

namespace corvane {

struct TLazyTree::Node {
    Node* parent = nullptr;
    Children children;
    std::string label;
    void* data = nullptr;
    TreeNode view = nullptr; // the item showing this node, if any
    bool filled = false; // its children are in the view
};

namespace {

template <class Vec, class T> size_t PositionOf(const Vec& siblings, const T* node)
{
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == node)
            return i;
    throw std::logic_error("node is not among its parent's children");
}

} // namespace

TLazyTree::TLazyTree(ITreeView& view) : view_(view) { }

TLazyTree::~TLazyTree() = default;

TLazyTree::Children& TLazyTree::ChildrenOf(Node* parent) { return parent ? parent->children : top_; }

const TLazyTree::Children& TLazyTree::ChildrenOf(const Node* parent) const { return parent ? parent->children : top_; }

bool TLazyTree::ChildrenShown(const Node* parent) const
{
    return parent == nullptr || (parent->view != nullptr && parent->filled);
}

TreeNode TLazyTree::Insert(Node* parent, size_t index, const std::string& label)
{
    auto owned = std::make_unique<Node>();
    Node* node = owned.get();
    node->parent = parent;
    node->label = label;
    Children& siblings = ChildrenOf(parent);
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index), std::move(owned));
    ++count_;
    if (ChildrenShown(parent))
        Show(node);
    else if (siblings.size() == 1)
        ShowExpandable(parent); // its first child: the control is told once, not per child
    return node;
}

TreeNode TLazyTree::AddLast(TreeNode parent, const std::string& label)
{
    return Insert(AsNode(parent), ChildrenOf(AsNode(parent)).size(), label);
}

TreeNode TLazyTree::AddFirst(TreeNode parent, const std::string& label) { return Insert(AsNode(parent), 0, label); }

TreeNode TLazyTree::InsertBefore(TreeNode sibling, const std::string& label)
{
    Node* s = AsNode(sibling);
    return Insert(s->parent, PositionOf(ChildrenOf(s->parent), s), label);
}

void TLazyTree::Show(Node* node)
{
    // Before the next sibling that is shown, else last under the parent.
    const Children& siblings = ChildrenOf(node->parent);
    TreeNode next = nullptr;
    for (size_t i = PositionOf(siblings, node) + 1; i < siblings.size() && !next; ++i)
        next = siblings[i]->view;
    node->view = next ? view_.InsertBefore(next, node->label)
                      : view_.AddLast(node->parent ? node->parent->view : nullptr, node->label);
    node->filled = false;
    view_.SetData(node->view, node);
    ShowExpandable(node);
}

void TLazyTree::ShowExpandable(Node* node)
{
    if (node && node->view && !node->filled)
        view_.SetExpandable(node->view, !node->children.empty());
}

void TLazyTree::Fill(Node* node)
{
    if (!node || !node->view || node->filled)
        return;
    node->filled = true;
    view_.BeginUpdate();
    for (const auto& child : node->children)
        Show(child.get());
    view_.EndUpdate();
}

void TLazyTree::Reveal(Node* node)
{
    if (!node || node->view)
        return;
    Reveal(node->parent);
    Fill(node->parent);
}

void TLazyTree::Unshow(Node* node)
{
    node->view = nullptr;
    node->filled = false;
    for (const auto& child : node->children)
        Unshow(child.get());
}

void TLazyTree::Expanding(TreeNode item) { Fill(AsNode(NodeOfView(item))); }

TreeNode TLazyTree::NodeOfView(TreeNode item) const { return item ? view_.Data(item) : nullptr; }

TreeNode TLazyTree::ViewOf(TreeNode node) const { return node ? AsNode(node)->view : nullptr; }

std::string TLazyTree::Label(TreeNode node) const { return AsNode(node)->label; }

void TLazyTree::SetLabel(TreeNode node, const std::string& label)
{
    Node* n = AsNode(node);
    n->label = label;
    if (n->view)
        view_.SetLabel(n->view, label);
}

void* TLazyTree::Data(TreeNode node) const { return AsNode(node)->data; }
void TLazyTree::SetData(TreeNode node, void* data) { AsNode(node)->data = data; }
TreeNode TLazyTree::Parent(TreeNode node) const { return AsNode(node)->parent; }

int TLazyTree::ChildCount(TreeNode node) const { return static_cast<int>(ChildrenOf(AsNode(node)).size()); }

TreeNode TLazyTree::Child(TreeNode node, int index) const
{
    const Children& children = ChildrenOf(AsNode(node));
    if (index < 0 || static_cast<size_t>(index) >= children.size())
        return nullptr;
    return children[static_cast<size_t>(index)].get();
}

TreeNode TLazyTree::First() const { return top_.empty() ? nullptr : top_.front().get(); }

int TLazyTree::SubtreeSize(const Node* node)
{
    int size = 1;
    for (const auto& child : node->children)
        size += SubtreeSize(child.get());
    return size;
}

std::unique_ptr<TLazyTree::Node> TLazyTree::Detach(Node* node)
{
    Children& siblings = ChildrenOf(node->parent);
    const auto at = siblings.begin() + static_cast<std::ptrdiff_t>(PositionOf(siblings, node));
    std::unique_ptr<Node> owned = std::move(*at);
    siblings.erase(at);
    return owned;
}

void TLazyTree::Delete(TreeNode node)
{
    Node* n = AsNode(node);
    // The view may move its selection and tell its owner, who finds the node still here.
    if (n->view)
        view_.Delete(n->view);
    Node* parent = n->parent;
    count_ -= SubtreeSize(n);
    Detach(n);
    if (parent && parent->view && parent->children.empty())
        view_.SetExpandable(parent->view, false);
}

void TLazyTree::MoveBefore(TreeNode node, TreeNode target)
{
    Node* n = AsNode(node);
    Node* t = AsNode(target);
    Reveal(t);
    Node* oldParent = n->parent;
    const TreeNode shownBefore = n->view;
    std::unique_ptr<Node> owned = Detach(n);
    Children& siblings = ChildrenOf(t->parent);
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(PositionOf(siblings, t)), std::move(owned));
    n->parent = t->parent;
    if (shownBefore) {
        // The view carries the subtree over (its selection with it), under new items.
        view_.MoveBefore(shownBefore, t->view);
        const TreeNode viewParent = t->parent ? t->parent->view : nullptr;
        TreeNode copy = nullptr;
        for (int i = 0, count = view_.ChildCount(viewParent); i < count && !copy; ++i)
            if (view_.Data(view_.Child(viewParent, i)) == n)
                copy = view_.Child(viewParent, i);
        struct Remap {
            TLazyTree& tree;
            void operator()(Node* at, TreeNode item) const
            {
                at->view = item;
                if (!at->filled) {
                    tree.ShowExpandable(at);
                    return;
                }
                for (size_t i = 0; i < at->children.size(); ++i)
                    (*this)(at->children[i].get(), tree.view_.Child(item, static_cast<int>(i)));
            }
        };
        Remap{*this}(n, copy);
    } else {
        Unshow(n);
        Show(n);
    }
    if (oldParent && oldParent->view && oldParent->children.empty())
        view_.SetExpandable(oldParent->view, false);
}

void TLazyTree::Select(TreeNode node)
{
    Node* n = AsNode(node);
    Reveal(n);
    view_.Select(n ? n->view : nullptr);
}

bool TLazyTree::IsExpanded(TreeNode node) const
{
    const Node* n = AsNode(node);
    return n->view && view_.IsExpanded(n->view);
}

void TLazyTree::Expand(TreeNode node)
{
    // A view sends no notice of an expansion it is asked for: fill it first.
    Node* n = AsNode(node);
    Reveal(n);
    Fill(n);
    view_.Expand(n->view);
}

void TLazyTree::EditLabel(TreeNode node)
{
    Reveal(AsNode(node));
    view_.EditLabel(AsNode(node)->view);
}

} // namespace corvane
