// The library directory on disk: loading, and the operations that keep each
// change written at once. Every path is built from the library root and
// names that passed IsPlainPathComponent, so nothing outside the root is
// read, written, renamed or deleted, whatever an index file holds.
#include "library/FolderLock.h"
#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/MoveRecord.h"
#include "library/TextUtils.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <optional>

namespace corvane {

namespace {

std::string WithoutReplyExtension(const std::string& fileName)
{
    const size_t extension = std::string(kReplyExtension).size();
    if (fileName.size() >= extension
        && SameTextIgnoringCase(fileName.substr(fileName.size() - extension), kReplyExtension))
        return fileName.substr(0, fileName.size() - extension);
    return fileName;
}

std::string IndexPathOf(const TRep& rep) { return IndexPathIn(rep.ContainerPath()); }

} // namespace

// ---------------------------------------------------------------- loading

void TRepList::BeginBulkLoad()
{
    tree_->BeginUpdate();
    hotKeys_.SetBulk(true);
    macros_.SetBulk(true);
}

void TRepList::EndBulkLoad()
{
    tree_->EndUpdate();
    hotKeys_.SetBulk(false);
    macros_.SetBulk(false);
    hotKeys_.Refill();
    macros_.Refill();
}

void TRepList::LoadFolderIndex(const std::string& indexPath, TreeNode parent)
{
    LoadFolderIndexAt(indexPath, parent, DepthOf(parent));
}

void TRepList::LoadFolderIndexAt(const std::string& indexPath, TreeNode parent, int depth)
{
    const std::optional<std::vector<std::string>> lines = ReadTextLines(*fs_, indexPath);
    if (!lines) {
        ShowError(FormatMessageText(kMsgFileCantBeOpened, indexPath));
        return;
    }
    const std::string directory = ParentDirectory(indexPath);
    tree_->BeginUpdate();
    for (const std::string& line : *lines) {
        const IndexLine entry = SplitIndexLine(line);
        if (!IsPlainPathComponent(entry.number))
            continue;
        if (SameTextIgnoringCase(entry.prefix, kFolderPrefix)) {
            TRep* folder = Items(AddNodeLast(entry.name, parent));
            folder->FolderName = entry.number;
            const std::string folderDir = directory + "\\" + entry.number;
            // A junction or symbolic link could lead back up into the library
            // or out of it; depth stops absurd nesting before the stack does.
            if (depth + 1 <= kMaxFolderDepth && !fs_->IsLink(folderDir))
                LoadFolderIndexAt(folderDir + "\\" + kIndexFileName, folder->Node, depth + 1);
        } else if (SameTextIgnoringCase(entry.prefix, kReplyPrefix)) {
            LoadReplyFile(directory + "\\" + entry.number + kReplyExtension, entry.name, false, nullptr, parent);
        }
    }
    tree_->EndUpdate();
}

int TRepList::LoadReplyFile(
    const std::string& path, const std::string& name, bool asFirst, TreeNode before, TreeNode parent)
{
    std::optional<std::vector<std::string>> lines = ReadTextLines(*fs_, path);
    if (!lines) {
        ShowError(FormatMessageText(kMsgFileCantBeOpened, path));
        return -1;
    }
    if (lines->size() < 2) {
        ShowError(FormatMessageText(kMsgFileIncorrectStructure, path));
        return -1;
    }
    const int index = before ? InsertNodeBefore(name, before)
        : asFirst            ? AddNodeFirst(name, parent)
                             : AddNodeLast(name, parent);
    TRep* reply = Items(index);
    reply->FileName = LastComponent(path);
    AddKeysFromFile(reply, (*lines)[0], (*lines)[1]);
    reply->Lines.assign(std::make_move_iterator(lines->begin() + 2), std::make_move_iterator(lines->end()));
    StampFrom(reply, path);
    return index;
}

void TRepList::AddKeysFromFile(TRep* reply, const std::string& macro, const std::string& code)
{
    const bool shared = IsShared(reply);
    if (!macro.empty()) {
        const TRep* holder = macros_.Holder(macro);
        if (!holder)
            macros_.AddEntry(macro, reply);
        else if (shared) {
            // Saving this reply must not erase a key the team relies on.
            reply->KeptMacro = macro;
            if (!IsShared(holder))
                conflicts_.push_back({reply, false, macro});
        }
    }
    // Codes the hot-key index cannot hold ("0AB", "Q", "2x") are ignored.
    if (!IsValidHotKeyCode(code))
        return;
    const std::string normalized = MakeHotKeyCode(code[0] == '1', code[1]);
    const TRep* holder = hotKeys_.Holder(normalized);
    if (!holder)
        hotKeys_.AddEntry(normalized, reply);
    else if (shared) {
        reply->KeptHotKey = normalized;
        if (!IsShared(holder))
            conflicts_.push_back({reply, true, normalized});
    }
}

void TRepList::StampFrom(TRep* reply, const std::string& path)
{
    if (IsShared(reply))
        reply->Stamp = fs_->LastWriteTime(path).value_or(-1);
}

bool TRepList::ChangedElsewhere(const TRep* reply) const
{
    return IsShared(reply) && reply->Stamp >= 0 && fs_->LastWriteTime(reply->OwnPath()).value_or(-1) != reply->Stamp;
}

bool TRepList::RereadReplyFile(TRep* reply)
{
    const std::string path = reply->OwnPath();
    std::optional<std::vector<std::string>> lines = ReadTextLines(*fs_, path);
    if (!lines || lines->size() < 2)
        return false;
    RemoveIndexEntries(reply);
    reply->KeptMacro.clear();
    reply->KeptHotKey.clear();
    AddKeysFromFile(reply, (*lines)[0], (*lines)[1]);
    reply->Lines.assign(std::make_move_iterator(lines->begin() + 2), std::make_move_iterator(lines->end()));
    StampFrom(reply, path);
    return true;
}

// ---------------------------------------------------------------- writing

int TRepList::FindIndexLine(const TRep* rep, const std::vector<std::string>& lines) const
{
    const std::string label = tree_->Label(rep->Node);
    const std::string replyNumber = WithoutReplyExtension(rep->FileName);
    for (size_t i = 0; i < lines.size(); ++i) {
        const IndexLine parts = SplitIndexLine(lines[i]);
        if (!SameTextIgnoringCase(parts.name, label))
            continue;
        if (parts.prefix == kFolderPrefix && rep->IsFolder() && parts.number == rep->FolderName)
            return static_cast<int>(i);
        if (parts.prefix == kReplyPrefix && !rep->IsFolder() && parts.number == replyNumber)
            return static_cast<int>(i);
    }
    return -1;
}

bool TRepList::SaveReplyFile(TRep* reply)
{
    if (reply->IsFolder() || !reply->HasSafePath())
        return false;
    std::vector<std::string> lines;
    lines.reserve(reply->Lines.size() + 2);
    const int macro = macros_.IndexOfRep(reply);
    lines.push_back(macro >= 0 ? macros_.KeyAt(macro) : reply->KeptMacro);
    const int hotKey = hotKeys_.IndexOfRep(reply);
    lines.push_back(hotKey >= 0 ? hotKeys_.KeyAt(hotKey) : reply->KeptHotKey);
    lines.insert(lines.end(), reply->Lines.begin(), reply->Lines.end());
    if (!CanChange(reply) || !WriteTextLines(*fs_, reply->OwnPath(), lines))
        return false;
    StampFrom(reply, reply->OwnPath());
    return true;
}

bool TRepList::RenameEntry(TRep* rep, const std::string& newName)
{
    if (newName.empty() || !rep->HasSafePath() || !CanChange(rep))
        return false;
    bool renamed = false;
    const std::string indexPath = IndexPathOf(*rep);
    std::optional<TFolderLock> lock;
    if (!LockForChange(rep->ContainerPath(), lock))
        return false;
    if (std::optional<std::vector<std::string>> lines = ReadTextLines(*fs_, indexPath)) {
        const int at = FindIndexLine(rep, *lines);
        if (at >= 0) {
            const IndexLine parts = SplitIndexLine((*lines)[static_cast<size_t>(at)]);
            std::string line = MakeIndexLine(parts.prefix, parts.number, newName);
            const std::string label = SplitIndexLine(line).name;
            (*lines)[static_cast<size_t>(at)] = std::move(line);
            if (WriteTextLines(*fs_, indexPath, *lines)) {
                tree_->SetLabel(rep->Node, label);
                renamed = true;
            }
        }
    }
    lock.reset();
    // The first reply named in a new folder names the folder.
    if (!rep->IsFolder()) {
        const TreeNode parent = tree_->Parent(rep->Node);
        TRep* folder = RepOf(parent);
        if (folder && tree_->Label(parent) == kNewFolderName)
            // A courtesy: the reply keeps its new name when the folder cannot follow.
            (void)RenameEntry(folder, newName + kFolderNameSuffix);
    }
    return renamed;
}

bool TRepList::DeleteFiles(TRep* rep)
{
    if (!rep->HasSafePath() || !CanChange(rep))
        return false;
    const std::string indexPath = IndexPathOf(*rep);
    std::optional<TFolderLock> lock;
    if (!LockForChange(rep->ContainerPath(), lock))
        return false;
    std::optional<std::vector<std::string>> lines = ReadTextLines(*fs_, indexPath);
    // Writing back what could not be read would empty the index.
    if (!lines)
        return false;
    const int at = rep->IsFolder() ? FindLineByNumber(*lines, kFolderPrefix, rep->FolderName)
                                   : FindLineByNumber(*lines, kReplyPrefix, WithoutReplyExtension(rep->FileName));
    if (at >= 0) {
        lines->erase(lines->begin() + at);
        // The line goes first: an interrupted delete leaves an unlisted file,
        // never a listed one that is missing.
        if (!WriteTextLines(*fs_, indexPath, *lines))
            return false;
    }
    return DeleteEntryFiles(*fs_, rep->OwnPath(), rep->IsFolder());
}

// ---------------------------------------------------------------- moving

bool TRepList::MoveBefore(TRep* entry, TRep* target)
{
    if (entry == target || IsInSubtree(target->Node, entry->Node))
        return false;
    if (!entry->HasSafePath() || !target->HasSafePath() || !CanChange(entry) || !CanChange(target))
        return false;
    const std::string sourceIndex = IndexPathOf(*entry);
    const std::string destinationIndex = IndexPathOf(*target);
    // Both folders' locks, always in the same order, so two computers moving
    // between the same two folders never wait for each other in a circle.
    const std::string first = std::min(entry->ContainerPath(), target->ContainerPath());
    const std::string second = std::max(entry->ContainerPath(), target->ContainerPath());
    std::optional<TFolderLock> firstLock;
    std::optional<TFolderLock> secondLock;
    if (!LockForChange(first, firstLock) || (second != first && !LockForChange(second, secondLock)))
        return false;
    if (sourceIndex == destinationIndex)
        return MoveWithinDirectory(entry, target, sourceIndex);
    return MoveAcrossDirectories(entry, target, sourceIndex, destinationIndex);
}

bool TRepList::MoveWithinDirectory(TRep* entry, TRep* target, const std::string& indexPath)
{
    std::optional<std::vector<std::string>> lines = ReadTextLines(*fs_, indexPath);
    if (!lines)
        return false;
    const int from = FindIndexLine(entry, *lines);
    if (from < 0)
        return false;
    std::string line = std::move((*lines)[static_cast<size_t>(from)]);
    lines->erase(lines->begin() + from);
    const int to = FindIndexLine(target, *lines);
    if (to < 0)
        return false;
    lines->insert(lines->begin() + to, std::move(line));
    return WriteTextLines(*fs_, indexPath, *lines);
}

bool TRepList::MoveAcrossDirectories(
    TRep* entry, TRep* target, const std::string& sourceIndex, const std::string& destinationIndex)
{
    std::optional<std::vector<std::string>> sourceLines = ReadTextLines(*fs_, sourceIndex);
    std::optional<std::vector<std::string>> destinationLines = ReadTextLines(*fs_, destinationIndex);
    if (!sourceLines || !destinationLines)
        return false;
    const bool folder = entry->IsFolder();
    const std::string destinationDir = target->ContainerPath();
    const std::string number = FreeEntryNumber(*fs_, destinationDir, folder, *destinationLines);
    const int from = FindIndexLine(entry, *sourceLines);
    const int to = FindIndexLine(target, *destinationLines);
    if (from < 0 || to < 0)
        return false;
    const std::vector<std::string> originalDestination = *destinationLines;
    const std::string& sourceLine = (*sourceLines)[static_cast<size_t>(from)];
    const IndexLine parts = SplitIndexLine(sourceLine);
    const std::string& root = entry->LibraryRoot();
    // The record tells the start-up tidy of the user's own library how to
    // finish a move inside it. A move between two libraries or inside the
    // shared one (whose tidy finishes no moves: another computer may be in
    // the middle of one), cut off, leaves the entry listed twice; nothing is
    // lost.
    const bool recorded = &root == &target->LibraryRoot() && !IsShared(entry);
    const std::string destinationLine = MakeIndexLine(parts.prefix, number, parts.name);
    const TMoveRecord record = recorded ? TMoveRecord{RelativeToRoot(root, entry->ContainerPath()), sourceLine,
                                   RelativeToRoot(root, destinationDir), destinationLine}
                                        : TMoveRecord{};
    sourceLines->erase(sourceLines->begin() + from);
    destinationLines->insert(destinationLines->begin() + to, destinationLine);

    // A killed process rolls nothing back, so each step must leave something
    // that loads: the copy is unlisted until the destination's line is
    // written; then the entry is listed twice, which the record lets the
    // start-up tidy settle for the destination; then the source's line goes,
    // and only then the old file. A failure rolls back what was done.
    const std::string oldPath = entry->OwnPath();
    const std::string newPath = EntryPathIn(destinationDir, number, folder);
    if (recorded && !WriteMoveRecord(*fs_, root, record))
        return false;
    bool moved = CopyEntry(*fs_, oldPath, newPath, folder);
    if (moved && !WriteTextLines(*fs_, destinationIndex, *destinationLines)) {
        (void)DeleteEntryFiles(*fs_, newPath, folder);
        moved = false;
    } else if (moved && !WriteTextLines(*fs_, sourceIndex, *sourceLines)) {
        // Should the destination keep its line too, the entry stays listed
        // twice: the record goes all the same, since this process goes on
        // writing the source's copy, which the tidy would otherwise delete.
        if (WriteTextLines(*fs_, destinationIndex, originalDestination))
            (void)DeleteEntryFiles(*fs_, newPath, folder);
        moved = false;
    }
    if (moved) {
        entry->AdoptPath(newPath);
        // Left behind, the old file is an unlisted extra; the move itself is done.
        (void)DeleteEntryFiles(*fs_, oldPath, folder);
    }
    if (recorded)
        (void)fs_->DeleteFile(MoveRecordPath(root));
    return moved;
}

} // namespace corvane
