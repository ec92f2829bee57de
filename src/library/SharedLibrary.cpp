// A library on a folder that other computers share: shown as one more
// top-level folder, changed only under a folder's lock, reloaded folder by
// folder when another computer changed it.
#include "library/FolderLock.h"
#include "library/LibraryFiles.h"
#include "library/TextUtils.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/FileSystem.h"

namespace corvane {

namespace {

// Writable when a lock could be created there, or another computer holds one.
bool FolderTakesFiles(IFileSystem& fs, const std::string& dir)
{
    TFolderLock probe(fs, dir, TLockPolicy{1, 0, TLockPolicy{}.staleSeconds});
    return probe.Held() || fs.FileExists(probe.Path());
}

} // namespace

void TRepList::StartSharedLibrary(const std::string& root, const std::string& name)
{
    UnloadSharedLibrary();
    sharedRoot_ = root;
    sharedTop_ = Items(Adopt(std::make_unique<TRep>(*tree_, sharedRoot_, true), tree_->AddLast(nullptr, name)));
    sharedAccess_ = TSharedAccess::Writable;
}

void TRepList::LoadSharedLibrary(const std::string& root, const std::string& name)
{
    StartSharedLibrary(root, name);
    // An unreachable folder is no error to report at every start.
    if (!fs_->FileExists(IndexPathIn(root))) {
        sharedAccess_ = TSharedAccess::Offline;
        return;
    }
    BeginBulkLoad();
    LoadFolderIndex(IndexPathIn(root), sharedTop_->Node);
    EndBulkLoad();
    sharedAccess_ = FolderTakesFiles(*fs_, root) ? TSharedAccess::Writable : TSharedAccess::ReadOnly;
}

void TRepList::UnloadSharedLibrary()
{
    if (sharedTop_)
        RemoveSubtree(sharedTop_->Node);
    sharedTop_ = nullptr;
    sharedAccess_ = TSharedAccess::None;
    conflicts_.clear();
}

bool TRepList::ReloadSharedFolder(const std::string& dir)
{
    if (!sharedTop_)
        return false;
    TRep* folder = nullptr;
    for (const auto& rep : items_)
        if (IsShared(rep.get()) && rep->IsFolder() && (rep->IsLibraryTop() || rep->HasSafePath())
            && SameTextIgnoringCase(rep->FolderPath(), dir)) {
            folder = rep.get();
            break;
        }
    if (!folder)
        return false;
    BeginBulkLoad();
    while (tree_->ChildCount(folder->Node) > 0)
        RemoveSubtree(tree_->Child(folder->Node, 0));
    LoadFolderIndex(IndexPathIn(dir), folder->Node);
    EndBulkLoad();
    return true;
}

bool TRepList::CanChange(const TRep* rep) const { return !IsShared(rep) || SharedChangeable(); }

bool TRepList::CanChangeIn(const std::string& dir) const
{
    return !sharedTop_ || !IsAtOrBelow(dir, sharedRoot_) || SharedChangeable();
}

bool TRepList::SharedChangeable() const
{
    return sharedAccess_ == TSharedAccess::Writable || sharedAccess_ == TSharedAccess::Away;
}

bool TRepList::SharedFolderGone(const TRep* rep) { return IsShared(rep) && SharedFolderGoneAt(sharedRoot_); }

bool TRepList::SharedFolderGoneAt(const std::string& dir)
{
    if (!sharedTop_ || !IsAtOrBelow(dir, sharedRoot_) || fs_->DirExists(sharedRoot_))
        return false;
    sharedAccess_ = TSharedAccess::Offline;
    return true;
}

bool TRepList::LockForChange(const std::string& dir, std::optional<TFolderLock>& lock)
{
    if (!sharedTop_ || !IsAtOrBelow(dir, sharedRoot_))
        return true;
    lock.emplace(*fs_, dir);
    return lock->Held();
}

} // namespace corvane
