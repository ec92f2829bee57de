#include "fakes/FakeTreeControl.h"

#include <algorithm>
#include <stdexcept>

namespace corvane::fakes {

FakeTreeControl::~FakeTreeControl() = default;

std::vector<std::unique_ptr<FakeTreeControl::Node>>& FakeTreeControl::ChildrenOf(Node* parent)
{
    return parent ? parent->children : top_;
}

const std::vector<std::unique_ptr<FakeTreeControl::Node>>& FakeTreeControl::ChildrenOf(const Node* parent) const
{
    return parent ? parent->children : top_;
}

TreeNode FakeTreeControl::InsertAt(Node* parent, size_t index, const std::string& label)
{
    auto node = std::make_unique<Node>();
    node->parent = parent;
    node->label = label;
    Node* raw = node.get();
    auto& siblings = ChildrenOf(parent);
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    ++count_;
    return raw;
}

TreeNode FakeTreeControl::AddLast(TreeNode parent, const std::string& label)
{
    return InsertAt(AsNode(parent), ChildrenOf(AsNode(parent)).size(), label);
}

TreeNode FakeTreeControl::AddFirst(TreeNode parent, const std::string& label)
{
    return InsertAt(AsNode(parent), 0, label);
}

namespace {

template <class Vec, class T> size_t PositionOf(const Vec& siblings, const T* node)
{
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == node)
            return i;
    throw std::logic_error("node is not among its parent's children");
}

} // namespace

TreeNode FakeTreeControl::InsertBefore(TreeNode sibling, const std::string& label)
{
    Node* s = AsNode(sibling);
    return InsertAt(s->parent, PositionOf(ChildrenOf(s->parent), s), label);
}

std::string FakeTreeControl::Label(TreeNode node) const { return AsNode(node)->label; }
void FakeTreeControl::SetLabel(TreeNode node, const std::string& label) { AsNode(node)->label = label; }
void* FakeTreeControl::Data(TreeNode node) const { return AsNode(node)->data; }
void FakeTreeControl::SetData(TreeNode node, void* data) { AsNode(node)->data = data; }
TreeNode FakeTreeControl::Parent(TreeNode node) const { return AsNode(node)->parent; }

int FakeTreeControl::ChildCount(TreeNode node) const { return static_cast<int>(ChildrenOf(AsNode(node)).size()); }

TreeNode FakeTreeControl::Child(TreeNode node, int index) const
{
    const auto& children = ChildrenOf(AsNode(node));
    if (index < 0 || static_cast<size_t>(index) >= children.size())
        return nullptr;
    return children[static_cast<size_t>(index)].get();
}

int FakeTreeControl::SubtreeSize(const Node* node)
{
    int size = 1;
    for (const auto& child : node->children)
        size += SubtreeSize(child.get());
    return size;
}

bool FakeTreeControl::Contains(const Node* node, const Node* inner) const
{
    for (; inner; inner = inner->parent)
        if (inner == node)
            return true;
    return false;
}

std::unique_ptr<FakeTreeControl::Node> FakeTreeControl::Detach(Node* node)
{
    auto& siblings = ChildrenOf(node->parent);
    const size_t at = PositionOf(siblings, node);
    std::unique_ptr<Node> owned = std::move(siblings[at]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at));
    return owned;
}

void FakeTreeControl::Select(TreeNode node)
{
    if (!likeTreeView) {
        selected_ = node;
        return;
    }
    if (node == selected_)
        return;
    if (onSelChanging)
        onSelChanging();
    selected_ = node;
    if (onSelChanged)
        onSelChanged();
}

TreeNode FakeTreeControl::NeighbourOf(const Node* node) const
{
    const auto& siblings = ChildrenOf(node->parent);
    const size_t at = PositionOf(siblings, node);
    if (at + 1 < siblings.size())
        return siblings[at + 1].get();
    if (at > 0)
        return siblings[at - 1].get();
    return node->parent;
}

void FakeTreeControl::Delete(TreeNode node)
{
    Node* n = AsNode(node);
    if (likeTreeView && Contains(n, AsNode(selected_)))
        Select(NeighbourOf(n));
    if (Contains(n, AsNode(selected_)))
        selected_ = nullptr;
    if (Contains(n, AsNode(editing_)))
        editing_ = nullptr;
    count_ -= SubtreeSize(n);
    Detach(n);
}

std::unique_ptr<FakeTreeControl::Node> FakeTreeControl::CopyOf(
    const Node* node, Node* parent, const Node* selected, Node*& selectedCopy)
{
    auto copy = std::make_unique<Node>();
    copy->parent = parent;
    copy->label = node->label;
    copy->data = node->data;
    copy->expanded = node->expanded;
    copy->expandable = node->expandable;
    ++count_;
    for (const auto& child : node->children)
        copy->children.push_back(CopyOf(child.get(), copy.get(), selected, selectedCopy));
    if (node == selected)
        selectedCopy = copy.get();
    return copy;
}

void FakeTreeControl::MoveBefore(TreeNode node, TreeNode target)
{
    Node* n = AsNode(node);
    Node* t = AsNode(target);
    if (n == t || Contains(n, t))
        throw std::logic_error("cannot move a node before itself or into its own subtree");
    if (likeTreeView) {
        Node* selectedCopy = nullptr;
        std::unique_ptr<Node> copy = CopyOf(n, t->parent, AsNode(selected_), selectedCopy);
        auto& siblings = ChildrenOf(t->parent);
        siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(PositionOf(siblings, t)), std::move(copy));
        if (selectedCopy)
            Select(selectedCopy);
        Delete(n);
        return;
    }
    std::unique_ptr<Node> owned = Detach(n);
    owned->parent = t->parent;
    auto& siblings = ChildrenOf(t->parent);
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(PositionOf(siblings, t)), std::move(owned));
}

TreeNode FakeTreeControl::First() const { return top_.empty() ? nullptr : top_.front().get(); }

bool FakeTreeControl::IsExpanded(TreeNode node) const { return AsNode(node)->expanded; }
void FakeTreeControl::SetExpanded(TreeNode node, bool expanded) { AsNode(node)->expanded = expanded; }

std::string FakeTreeControl::Outline(TreeNode from) const
{
    std::string text;
    const auto& children = ChildrenOf(AsNode(from));
    for (size_t i = 0; i < children.size(); ++i) {
        if (i > 0)
            text += ',';
        text += children[i]->label;
        if (!children[i]->children.empty())
            text += "(" + Outline(children[i].get()) + ")";
    }
    return text;
}

TreeNode FakeTreeControl::Find(const std::string& labelPath) const
{
    const Node* parent = nullptr;
    size_t start = 0;
    while (true) {
        const size_t slash = labelPath.find('/', start);
        const std::string label
            = labelPath.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        const Node* found = nullptr;
        for (const auto& child : ChildrenOf(parent))
            if (child->label == label) {
                found = child.get();
                break;
            }
        if (!found || slash == std::string::npos)
            return const_cast<Node*>(found);
        parent = found;
        start = slash + 1;
    }
}

} // namespace corvane::fakes
