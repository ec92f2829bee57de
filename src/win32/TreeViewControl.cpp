#include "win32/TreeViewControl.h"

#include <vector>

namespace corvane::win32 {

namespace {

HTREEITEM Item(TreeNode node) { return static_cast<HTREEITEM>(node); }

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation)
{
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

} // namespace

HTREEITEM TreeViewControl::Insert(HTREEITEM parent, HTREEITEM after, const std::string& label)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    // The owner tells the pictures when the control draws (TVN_GETDISPINFO),
    // since a node's picture follows its children and its expansion.
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.pszText = const_cast<char*>(label.c_str());
    insert.item.lParam = 0;
    return reinterpret_cast<HTREEITEM>(::SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

TreeNode TreeViewControl::AddLast(TreeNode parent, const std::string& label)
{
    return Insert(Item(parent), TVI_LAST, label);
}

TreeNode TreeViewControl::AddFirst(TreeNode parent, const std::string& label)
{
    return Insert(Item(parent), TVI_FIRST, label);
}

TreeNode TreeViewControl::InsertBefore(TreeNode sibling, const std::string& label)
{
    const HTREEITEM previous = Next(hwnd_, Item(sibling), TVGN_PREVIOUS);
    return Insert(Item(Parent(sibling)), previous ? previous : TVI_FIRST, label);
}

std::string TreeViewControl::Label(TreeNode node) const
{
    std::vector<char> buffer(1024);
    while (true) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = Item(node);
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        if (!::SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            return {};
        const std::string text(item.pszText);
        if (text.size() + 1 < buffer.size() || buffer.size() >= 65536)
            return text;
        buffer.resize(buffer.size() * 4);
    }
}

void TreeViewControl::SetLabel(TreeNode node, const std::string& label)
{
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = Item(node);
    item.pszText = const_cast<char*>(label.c_str());
    ::SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void* TreeViewControl::Data(TreeNode node) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = Item(node);
    if (!::SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<void*>(item.lParam);
}

void TreeViewControl::SetData(TreeNode node, void* data)
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = Item(node);
    item.lParam = reinterpret_cast<LPARAM>(data);
    ::SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

TreeNode TreeViewControl::Parent(TreeNode node) const { return Next(hwnd_, Item(node), TVGN_PARENT); }

HTREEITEM TreeViewControl::FirstChildOf(TreeNode node) const
{
    return node ? Next(hwnd_, Item(node), TVGN_CHILD) : Next(hwnd_, nullptr, TVGN_ROOT);
}

int TreeViewControl::ChildCount(TreeNode node) const
{
    int count = 0;
    for (HTREEITEM child = FirstChildOf(node); child; child = Next(hwnd_, child, TVGN_NEXT))
        ++count;
    return count;
}

TreeNode TreeViewControl::Child(TreeNode node, int index) const
{
    HTREEITEM child = FirstChildOf(node);
    for (int i = 0; child && i < index; ++i)
        child = Next(hwnd_, child, TVGN_NEXT);
    return index < 0 ? nullptr : child;
}

void TreeViewControl::Delete(TreeNode node)
{
    ::SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Item(node)));
}

HTREEITEM TreeViewControl::CopySubtree(
    HTREEITEM source, HTREEITEM parent, HTREEITEM after, HTREEITEM selected, HTREEITEM& selectedCopy)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN;
    insert.item.hItem = source;
    insert.item.stateMask = TVIS_BOLD;
    ::SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&insert.item));
    const std::string label = Label(source);
    insert.item.mask |= TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(label.c_str());
    insert.item.hItem = nullptr;
    const HTREEITEM copy
        = reinterpret_cast<HTREEITEM>(::SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    HTREEITEM last = TVI_FIRST;
    for (HTREEITEM child = Next(hwnd_, source, TVGN_CHILD); child; child = Next(hwnd_, child, TVGN_NEXT))
        last = CopySubtree(child, copy, last, selected, selectedCopy);
    if (source == selected)
        selectedCopy = copy;
    if (IsExpanded(source))
        ::SendMessageA(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(copy));
    return copy;
}

void TreeViewControl::MoveBefore(TreeNode node, TreeNode target)
{
    const HTREEITEM previous = Next(hwnd_, Item(target), TVGN_PREVIOUS);
    HTREEITEM selectedCopy = nullptr;
    CopySubtree(Item(node), Item(Parent(target)), previous ? previous : TVI_FIRST, Item(Selected()), selectedCopy);
    // Selecting the copy first keeps the deletion from moving the selection.
    if (selectedCopy)
        Select(selectedCopy);
    Delete(node);
}

void TreeViewControl::SetExpandable(TreeNode node, bool expandable)
{
    TVITEMA item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = Item(node);
    item.cChildren = expandable ? 1 : 0;
    ::SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TreeViewControl::Count() const { return static_cast<int>(::SendMessageA(hwnd_, TVM_GETCOUNT, 0, 0)); }

TreeNode TreeViewControl::First() const { return Next(hwnd_, nullptr, TVGN_ROOT); }

void TreeViewControl::BeginUpdate()
{
    if (updateDepth_++ == 0)
        ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void TreeViewControl::EndUpdate()
{
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

TreeNode TreeViewControl::Selected() const { return Next(hwnd_, nullptr, TVGN_CARET); }

void TreeViewControl::Select(TreeNode node)
{
    ::SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Item(node)));
}

void TreeViewControl::Expand(TreeNode node)
{
    ::SendMessageA(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Item(node)));
}

bool TreeViewControl::IsExpanded(TreeNode node) const
{
    const LRESULT state = ::SendMessageA(hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(Item(node)), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

void TreeViewControl::EditLabel(TreeNode node)
{
    ::SendMessageA(hwnd_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(Item(node)));
}

TreeNode TreeViewControl::NodeAt(int x, int y) const
{
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    const HTREEITEM item
        = reinterpret_cast<HTREEITEM>(::SendMessageA(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEM) ? item : nullptr;
}

} // namespace corvane::win32
