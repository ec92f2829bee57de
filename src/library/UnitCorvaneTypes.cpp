#include "library/UnitCorvaneTypes.h"

#include "library/IndexFormat.h"
#include "library/UnitConsts.h"
#include "platform/FileSystem.h"
#include "platform/ListBox.h"

#include <algorithm>
#include <utility>
#include <unordered_set>

namespace corvane {

std::string LibraryRootIn(const std::string& dataDir) { return dataDir + kLibraryFolder; }

// ---------------------------------------------------------------- TRep

TRep* TRep::ParentRep() const
{
    const TreeNode parent = Node ? tree_->Parent(Node) : nullptr;
    return parent ? static_cast<TRep*>(tree_->Data(parent)) : nullptr;
}

std::string TRep::FolderPath() const { return ContainerPath() + "\\" + FolderName; }

std::string TRep::ContainerPath() const
{
    const TRep* parent = ParentRep();
    return parent ? parent->FolderPath() : *root_;
}

std::string TRep::OwnPath() const { return IsFolder() ? FolderPath() : ContainerPath() + "\\" + FileName; }

bool TRep::HasSafePath() const
{
    if (!IsPlainPathComponent(IsFolder() ? FolderName : FileName))
        return false;
    for (const TRep* parent = ParentRep(); parent; parent = parent->ParentRep())
        if (!parent->IsFolder() || !IsPlainPathComponent(parent->FolderName))
            return false;
    return true;
}

void TRep::AdoptPath(const std::string& newPath) { (IsFolder() ? FolderName : FileName) = LastComponent(newPath); }

// ---------------------------------------------------------------- TRepList, in memory

TRepList::TRepList(
    ITreeControl& tree, IListBox& hotKeyListBox, IListBox& macroListBox, IFileSystem& fs, std::string root)
    : root_(std::move(root)), tree_(&tree), hotKeys_(hotKeyListBox), macros_(macroListBox), fs_(&fs)
{ }

std::string TRepList::RootIndexPath() const { return root_ + "\\" + kIndexFileName; }

TRepList::~TRepList() { ClearAll(); }

int TRepList::IndexOf(const TRep* rep) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == rep)
            return static_cast<int>(i);
    return -1;
}

TRep* TRepList::RepOf(TreeNode node) const { return node ? static_cast<TRep*>(tree_->Data(node)) : nullptr; }

int TRepList::Adopt(std::unique_ptr<TRep> rep, TreeNode node)
{
    rep->Node = node;
    tree_->SetData(node, rep.get());
    items_.push_back(std::move(rep));
    return static_cast<int>(items_.size()) - 1;
}

int TRepList::AddNodeLast(const std::string& name, TreeNode parent)
{
    auto rep = std::make_unique<TRep>(*tree_, root_);
    return Adopt(std::move(rep), tree_->AddLast(parent, name));
}

int TRepList::AddNodeFirst(const std::string& name, TreeNode parent)
{
    auto rep = std::make_unique<TRep>(*tree_, root_);
    return Adopt(std::move(rep), tree_->AddFirst(parent, name));
}

int TRepList::InsertNodeBefore(const std::string& name, TreeNode sibling)
{
    auto rep = std::make_unique<TRep>(*tree_, root_);
    return Adopt(std::move(rep), tree_->InsertBefore(sibling, name));
}

void TRepList::DeleteAt(int index) { RemoveSubtree(Items(index)->Node); }

void TRepList::CollectSubtree(TreeNode node, std::vector<TRep*>& reps) const
{
    const int children = tree_->ChildCount(node);
    for (int i = 0; i < children; ++i)
        CollectSubtree(tree_->Child(node, i), reps);
    if (TRep* rep = RepOf(node))
        reps.push_back(rep);
}

void TRepList::RemoveIndexEntries(const TRep* rep)
{
    const int hotKey = hotKeys_.IndexOfRep(rep);
    if (hotKey >= 0)
        hotKeys_.DeleteEntry(hotKey);
    const int macro = macros_.IndexOfRep(rep);
    if (macro >= 0)
        macros_.DeleteEntry(macro);
}

void TRepList::RemoveSubtree(TreeNode node)
{
    if (!node)
        return;
    std::vector<TRep*> doomed;
    CollectSubtree(node, doomed);

    // One refill per list box instead of one per removed entry.
    const bool hotKeysBulk = hotKeys_.Bulk();
    const bool macrosBulk = macros_.Bulk();
    hotKeys_.SetBulk(true);
    macros_.SetBulk(true);
    for (const TRep* rep : doomed)
        RemoveIndexEntries(rep);
    hotKeys_.SetBulk(hotKeysBulk);
    macros_.SetBulk(macrosBulk);
    if (!hotKeysBulk)
        hotKeys_.Refill();
    if (!macrosBulk)
        macros_.Refill();

    tree_->Delete(node);
    const std::unordered_set<const TRep*> gone(doomed.begin(), doomed.end());
    std::erase_if(items_, [&gone](const std::unique_ptr<TRep>& rep) { return gone.count(rep.get()) != 0; });
}

void TRepList::ClearAll()
{
    tree_->BeginUpdate();
    // A control that refuses a deletion must not hold this loop forever.
    for (TreeNode first = tree_->First(), previous = nullptr; first && first != previous; first = tree_->First()) {
        tree_->Delete(first);
        previous = first;
    }
    tree_->EndUpdate();
    hotKeys_.Clear();
    macros_.Clear();
    items_.clear();
}

void TRepList::SetBody(TRep* reply, const std::vector<std::string>& lines)
{
    reply->Lines = SplitTextLines(JoinTextLines(lines));
}

void TRepList::SetBodyText(TRep* reply, std::string_view text) { reply->Lines = SplitTextLines(text); }

void TRepList::MoveNodeBefore(TRep* entry, TRep* target)
{
    if (entry == target || IsInSubtree(target->Node, entry->Node))
        return;
    tree_->MoveBefore(entry->Node, target->Node);
    // The moved node is now the target's previous sibling.
    const TreeNode parent = tree_->Parent(target->Node);
    const int count = tree_->ChildCount(parent);
    TreeNode moved = nullptr;
    for (int i = 1; i < count && !moved; ++i)
        if (tree_->Child(parent, i) == target->Node)
            moved = tree_->Child(parent, i - 1);
    if (!moved)
        return;
    RelinkSubtree(moved);
}

void TRepList::RelinkSubtree(TreeNode node)
{
    if (TRep* rep = RepOf(node))
        rep->Node = node;
    const int children = tree_->ChildCount(node);
    for (int i = 0; i < children; ++i)
        RelinkSubtree(tree_->Child(node, i));
}

int TRepList::DepthOf(TreeNode node) const
{
    int depth = 0;
    for (; node; node = tree_->Parent(node))
        ++depth;
    return depth;
}

bool TRepList::IsInSubtree(TreeNode node, TreeNode root) const
{
    for (; node; node = tree_->Parent(node))
        if (node == root)
            return true;
    return false;
}

} // namespace corvane
