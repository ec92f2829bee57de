#include "editing/LibraryEditing.h"

#include "platform/KeyboardLayouts.h"

#include "library/FolderLock.h"
#include "library/IndexFormat.h"
#include "library/LibraryFiles.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitConsts.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/FileSystem.h"
#include "platform/ListBox.h"

#include <optional>
#include <vector>

namespace corvane {

bool IsMacroChar(char c)
{
    return c != '\0'
        && (kKeyCharsUnshifted.find(c) != std::string_view::npos || kKeyCharsShifted.find(c) != std::string_view::npos);
}

std::string MacroCharsOf(std::string_view text)
{
    std::string kept;
    for (char c : text)
        if (IsMacroChar(c))
            kept += c;
    return kept;
}

int DragScrollDirection(int x, int y, int treeWidth, int treeHeight)
{
    if (x < 0 || y < 0 || x >= treeWidth || y >= treeHeight)
        return 0;
    if (y < kDragScrollMargin)
        return -1;
    if (treeHeight - y < kDragScrollMargin)
        return 1;
    return 0;
}

// Where a new entry goes, from the selection at the time of the command.
struct TLibraryEditing::Placement {
    std::string directory; // receives the entry
    TreeNode parent = nullptr; // of the new node
    TreeNode before = nullptr; // the new node goes just before this one
    bool asFirst = false; // the new node becomes the parent's first child
    // The entry whose index line locates the new line (at the top of the
    // index when asFirst, else just before it); the line is appended when
    // there is none or its line is not found.
    TRep* anchor = nullptr;
};

// While a structural change runs, the tree control may move its selection
// (it deletes and re-creates nodes); those moves must neither commit nor
// reload the panel.
class TLibraryEditing::Quiet {
public:
    explicit Quiet(TLibraryEditing& editing) : editing_(editing) { ++editing_.quiet_; }
    ~Quiet() { --editing_.quiet_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    TLibraryEditing& editing_;
};

TLibraryEditing::TLibraryEditing(TRepList& library, IFileSystem& fs, const TReplyPanel& panel)
    : library_(library), tree_(library.Tree()), fs_(fs), panel_(panel)
{ }

TRep* TLibraryEditing::SelectedRep() const { return library_.RepOf(tree_.Selected()); }

std::string TLibraryEditing::SelectedKeyCode() const
{
    const int key = panel_.key.SelectedIndex();
    if (key < 0 || key >= static_cast<int>(kHotKeyChars.size()))
        return {};
    return MakeHotKeyCode(panel_.shift.Checked(), kHotKeyChars[static_cast<size_t>(key)]);
}

bool TLibraryEditing::IsInSubtree(TreeNode node, TreeNode root) const
{
    for (; node; node = tree_.Parent(node))
        if (node == root)
            return true;
    return false;
}

// ---------------------------------------------------------------- commits

void TLibraryEditing::CommitEdits()
{
    // The edits belong to the entry the panel was loaded for, and only while
    // it is still in the library.
    if (quiet_ > 0 || !shown_ || library_.IndexOf(shown_) < 0)
        return;
    TRep* rep = shown_;
    if ((nameChanged_ || replyChanged_) && !MayChange(rep)) {
        DiscardPendingEdits();
        return;
    }
    CommitName(rep);
    if (!rep->IsFolder())
        CommitReply(rep);
}

bool TLibraryEditing::MayChange(const TRep* rep) const
{
    // Team entries are changed on this computer's copy, reachable or not.
    if ((team_ && library_.IsShared(rep)) || library_.CanChange(rep))
        return true;
    ShowError(kMsgSharedReadOnly);
    return false;
}

bool TLibraryEditing::MayChangeIn(const std::string& dir) const
{
    if (library_.CanChangeIn(dir))
        return true;
    ShowError(kMsgSharedReadOnly);
    return false;
}

bool TLibraryEditing::LockOrReport(const std::string& dir, std::optional<TFolderLock>& lock)
{
    if (library_.LockForChange(dir, lock))
        return true;
    // A folder gone since the last look is no other computer's doing.
    ShowError(
        library_.SharedFolderGoneAt(dir) ? std::string(kMsgSharedReadOnly) : FormatMessageText(kMsgSharedBusy, dir));
    return false;
}

void TLibraryEditing::DiscardPendingEdits()
{
    nameChanged_ = false;
    replyChanged_ = false;
    if (shown_)
        unsaved_.erase(shown_);
    if (shown_ && shown_->Node == tree_.Selected())
        LoadPanel();
}

void TLibraryEditing::CommitName(TRep* rep)
{
    if (!nameChanged_)
        return;
    if (rep->IsLibraryTop()) {
        panel_.name.SetText(tree_.Label(rep->Node));
        nameChanged_ = false;
        return;
    }
    const std::string name = panel_.name.Text();
    if (!name.empty()) {
        if (!Rename(rep, name)) {
            ShowError(FormatMessageText(kMsgFileCantBeSaved, IndexPathIn(rep->ContainerPath())));
            return;
        }
        panel_.name.SetText(tree_.Label(rep->Node));
    }
    nameChanged_ = false;
}

bool TLibraryEditing::Rename(TRep* rep, const std::string& name)
{
    if (!IsTeam(rep))
        return library_.RenameEntry(rep, name);
    // A label edit ended as it began changes nothing; for a version in
    // conflict the label is not its name (it tells whose version it is).
    if (name == tree_.Label(rep->Node))
        return true;
    tree_.SetLabel(rep->Node, name);
    rep->TeamName = name;
    team_->Changed(*rep);
    return true;
}

bool TLibraryEditing::IsTeam(const TRep* rep) const
{
    return team_ && rep && library_.IsShared(rep) && !rep->IsLibraryTop();
}

void TLibraryEditing::CommitReply(TRep* reply)
{
    if (!replyChanged_)
        return;
    // A folder gone since the last look: nothing can be kept there. (Team
    // entries are kept on this computer until the folder is back.)
    if (!IsTeam(reply) && library_.SharedFolderGone(reply)) {
        ShowError(kMsgSharedReadOnly);
        DiscardPendingEdits();
        return;
    }
    if (!IsTeam(reply) && library_.ChangedElsewhere(reply)) {
        SaveAsMyCopy(reply);
        return;
    }
    const ReplyEdit edit{
        panel_.macro.Text(), panel_.hotKey.Checked() ? SelectedKeyCode() : std::string(), panel_.editor.SaveRtf()};
    if (!WriteReply(reply, edit)) {
        unsaved_[reply] = edit;
        ShowError(FormatMessageText(kMsgFileCantBeSaved, reply->OwnPath()));
        return;
    }
    unsaved_.erase(reply);
    replyChanged_ = false;
}

bool TLibraryEditing::WriteReply(TRep* reply, const ReplyEdit& edit)
{
    const int macro = library_.MacroIndexOf(reply);
    const int hotKey = library_.HotKeyIndexOf(reply);
    const std::string storedMacro = macro >= 0 ? library_.MacroAt(macro) : std::string();
    const std::string storedHotKey = hotKey >= 0 ? library_.HotKeyCodeAt(hotKey) : std::string();
    std::vector<std::string> storedBody = reply->Lines;
    // A macro or hot key that another reply holds is not applied; the body
    // is saved regardless.
    (void)library_.SetMacro(reply, edit.macro);
    (void)library_.SetHotKey(reply, edit.hotKey);
    library_.SetBodyText(reply, edit.body);
    if (IsTeam(reply)) {
        // Keys kept aside for the team stay recorded unless the user changed them.
        if (edit.macro != reply->KeptMacro)
            reply->KeptMacro.clear();
        if (edit.hotKey != reply->KeptHotKey)
            reply->KeptHotKey.clear();
        team_->Changed(*reply);
        return true;
    }
    if (library_.SaveReplyFile(reply))
        return true;
    // What the program delivers and shows stays what the file holds.
    (void)library_.SetMacro(reply, storedMacro);
    (void)library_.SetHotKey(reply, storedHotKey);
    reply->Lines = std::move(storedBody);
    return false;
}

void TLibraryEditing::EditorForceSaveExecute()
{
    CommitEdits();
    for (auto it = unsaved_.begin(); it != unsaved_.end();) {
        TRep* reply = it->first;
        if (reply == shown_) {
            ++it;
        } else if (WriteReply(reply, it->second)) {
            it = unsaved_.erase(it);
        } else {
            ShowError(FormatMessageText(kMsgFileCantBeSaved, reply->OwnPath()));
            ++it;
        }
    }
}

// ---------------------------------------------------------------- selection

void TLibraryEditing::NavigationChanging()
{
    if (quiet_ == 0)
        CommitEdits();
}

void TLibraryEditing::NavigationChange()
{
    if (quiet_ == 0)
        LoadPanel();
}

void TLibraryEditing::SelectNode(TreeNode node)
{
    CommitEdits();
    {
        Quiet quiet(*this);
        tree_.Select(node);
    }
    LoadPanel();
}

void TLibraryEditing::LoadPanel()
{
    const TreeNode node = tree_.Selected();
    shown_ = library_.RepOf(node);
    if (node)
        panel_.name.SetText(tree_.Label(node));
    if (shown_ && tree_.ChildCount(node) == 0) {
        LoadReplyControls(shown_);
    } else {
        panel_.editor.Clear();
        ClearListSelections();
    }
    // Loading is not an edit; an edit still unsaved stays one.
    nameChanged_ = false;
    replyChanged_ = shown_ && unsaved_.contains(shown_);
}

void TLibraryEditing::LoadReplyControls(TRep* reply)
{
    if (const auto unsaved = unsaved_.find(reply); unsaved != unsaved_.end()) {
        ShowUnsavedEdit(unsaved->second);
        return;
    }
    panel_.editor.LoadRtf(JoinTextLines(reply->Lines));
    const int hotKey = library_.HotKeyIndexOf(reply);
    const int macro = library_.MacroIndexOf(reply);
    library_.HotKeys().ListBox().Select(hotKey);
    library_.Macros().ListBox().Select(macro);
    panel_.macro.SetText(macro >= 0 ? library_.MacroAt(macro) : std::string());
    panel_.hotKey.SetChecked(hotKey >= 0);
    // Without a hot key, Shift and the key keep what they showed before.
    if (hotKey < 0)
        return;
    const HotKeyParts parts = SplitHotKeyCode(library_.HotKeyCodeAt(hotKey));
    panel_.shift.SetChecked(parts.shift);
    const size_t key = kHotKeyChars.find(parts.key);
    if (key != std::string_view::npos)
        panel_.key.Select(static_cast<int>(key));
}

// The lists keep showing what is stored; the boxes and the editor show the edit.
void TLibraryEditing::ShowUnsavedEdit(const ReplyEdit& edit)
{
    panel_.editor.LoadRtf(edit.body);
    library_.HotKeys().ListBox().Select(library_.HotKeyIndexOf(shown_));
    library_.Macros().ListBox().Select(library_.MacroIndexOf(shown_));
    panel_.macro.SetText(edit.macro);
    panel_.hotKey.SetChecked(!edit.hotKey.empty());
    if (edit.hotKey.empty())
        return;
    const HotKeyParts parts = SplitHotKeyCode(edit.hotKey);
    panel_.shift.SetChecked(parts.shift);
    panel_.key.Select(static_cast<int>(kHotKeyChars.find(parts.key)));
}

void TLibraryEditing::ClearListSelections()
{
    library_.HotKeys().ListBox().Select(-1);
    library_.Macros().ListBox().Select(-1);
}

void TLibraryEditing::ListMacrosClick()
{
    const int at = library_.Macros().ListBox().SelectedIndex();
    if (at >= 0 && at < library_.MacroCount())
        MoveSelectionTo(library_.MacroReplyAt(at)->Node);
}

void TLibraryEditing::ListHotKeysClick()
{
    const int at = library_.HotKeys().ListBox().SelectedIndex();
    if (at >= 0 && at < library_.HotKeyCount())
        MoveSelectionTo(library_.HotKeyReplyAt(at)->Node);
}

void TLibraryEditing::NavigationRightButtonDown(TreeNode underPointer) { MoveSelectionTo(underPointer); }

// As the tree does for a user's click: selecting the selected node again
// does nothing.
void TLibraryEditing::MoveSelectionTo(TreeNode node)
{
    if (node != tree_.Selected())
        SelectNode(node);
}

// ---------------------------------------------------------------- adding

TLibraryEditing::Placement TLibraryEditing::PlacementForSelection() const
{
    Placement where;
    const TreeNode selected = tree_.Selected();
    TRep* rep = library_.RepOf(selected);
    if (!rep) {
        where.directory = library_.Root();
    } else if (tree_.ChildCount(selected) > 0 && tree_.IsExpanded(selected)) {
        where.directory = rep->FolderPath();
        where.parent = selected;
        where.asFirst = true;
        where.anchor = library_.RepOf(tree_.Child(selected, 0));
    } else {
        where.directory = rep->ContainerPath();
        where.parent = tree_.Parent(selected);
        where.before = selected;
        where.anchor = rep;
    }
    return where;
}

void TLibraryEditing::InsertIndexLine(const Placement& where, std::string_view prefix, const std::string& number,
    const std::string& name, std::vector<std::string>& lines) const
{
    const int anchorLine = where.anchor ? library_.FindIndexLine(where.anchor, lines) : -1;
    const size_t at = anchorLine < 0 ? lines.size() : where.asFirst ? 0 : static_cast<size_t>(anchorLine);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), MakeIndexLine(prefix, number, name));
}

namespace {

// Reports what it could not write.
bool WriteOrReport(IFileSystem& fs, const std::string& path, const std::vector<std::string>& lines)
{
    if (WriteTextLines(fs, path, lines))
        return true;
    ShowError(FormatMessageText(kMsgFileCantBeSaved, path));
    return false;
}

// An add command stops here, before anything is written, when the receiving
// directory's index cannot be read.
std::optional<std::vector<std::string>> ReadIndexOrReport(const IFileSystem& fs, const std::string& indexPath)
{
    std::optional<std::vector<std::string>> lines = ReadTextLines(fs, indexPath);
    if (!lines)
        ShowError(FormatMessageText(kMsgFileCantBeOpened, indexPath));
    return lines;
}

// A new reply file: no macro, no hot key, no body.
const std::vector<std::string> kEmptyReplyLines{std::string(), std::string()};

} // namespace

bool TLibraryEditing::IsTeamPlace(const Placement& where) const
{
    return team_ && where.parent && library_.IsShared(library_.RepOf(where.parent));
}

TRep* TLibraryEditing::AddTeamEntry(const Placement& where, const std::string& name, bool folder)
{
    const int index = where.asFirst ? library_.AddNodeFirst(name, where.parent)
        : where.before              ? library_.InsertNodeBefore(name, where.before)
                                    : library_.AddNodeLast(name, where.parent);
    TRep* rep = library_.Items(index);
    rep->TeamEntry = team_->NewEntryId();
    rep->TeamName = name;
    // Paths only tell entries apart; nothing is written there.
    (folder ? rep->FolderName : rep->FileName) = rep->TeamEntry + (folder ? "" : kReplyExtension);
    team_->Added(*rep);
    return rep;
}

void TLibraryEditing::NavAddReplyExecute()
{
    const Placement where = PlacementForSelection();
    if (IsTeamPlace(where)) {
        StartNaming(library_.IndexOf(AddTeamEntry(where, kNewReplyName, false)));
        return;
    }
    const std::string replyPath = WriteNewReply(where, kNewReplyName, kEmptyReplyLines);
    if (!replyPath.empty())
        StartNaming(library_.LoadReplyFile(replyPath, kNewReplyName, where.asFirst, where.before, where.parent));
}

std::string TLibraryEditing::WriteNewReply(
    const Placement& where, const std::string& name, const std::vector<std::string>& fileLines)
{
    std::optional<TFolderLock> lock;
    if (!MayChangeIn(where.directory) || !LockOrReport(where.directory, lock))
        return {};
    // Read under the lock: the number and the line are chosen from the index
    // as it is now, whoever wrote it last.
    const std::string indexPath = IndexPathIn(where.directory);
    std::optional<std::vector<std::string>> lines = ReadIndexOrReport(fs_, indexPath);
    if (!lines)
        return {};
    const std::string number = FreeEntryNumber(fs_, where.directory, false, *lines);
    const std::string replyPath = where.directory + "\\" + number + kReplyExtension;
    InsertIndexLine(where, kReplyPrefix, number, name, *lines);
    // The file comes first, so no index line ever names a missing file.
    if (!WriteOrReport(fs_, replyPath, fileLines))
        return {};
    if (!WriteOrReport(fs_, indexPath, *lines)) {
        (void)fs_.DeleteFile(replyPath);
        return {};
    }
    return replyPath;
}

void TLibraryEditing::SaveAsMyCopy(TRep* reply)
{
    Placement where;
    where.directory = reply->ContainerPath();
    where.parent = tree_.Parent(reply->Node);
    where.before = reply->Node;
    where.anchor = reply;
    const std::string name = tree_.Label(reply->Node) + kMyCopySuffix;
    // A macro or hot key stays with the reply that holds it.
    std::vector<std::string> fileLines = kEmptyReplyLines;
    const std::vector<std::string> body = SplitTextLines(panel_.editor.SaveRtf());
    fileLines.insert(fileLines.end(), body.begin(), body.end());
    const std::string copyPath = WriteNewReply(where, name, fileLines);
    if (copyPath.empty())
        return;
    {
        Quiet quiet(*this);
        (void)library_.LoadReplyFile(copyPath, name, false, where.before, where.parent);
        (void)library_.RereadReplyFile(reply);
    }
    DiscardPendingEdits();
}

void TLibraryEditing::NavAddFolderExecute()
{
    const Placement where = PlacementForSelection();
    if (IsTeamPlace(where)) {
        TRep* folder = AddTeamEntry(where, kNewFolderName, true);
        Placement inside;
        inside.parent = folder->Node;
        StartNaming(library_.IndexOf(AddTeamEntry(inside, kNewReplyName, false)));
        return;
    }
    std::optional<TFolderLock> lock;
    if (!MayChangeIn(where.directory) || !LockOrReport(where.directory, lock))
        return;
    const std::string indexPath = IndexPathIn(where.directory);
    std::optional<std::vector<std::string>> lines = ReadIndexOrReport(fs_, indexPath);
    if (!lines)
        return;
    const std::string folderNumber = FreeEntryNumber(fs_, where.directory, true, *lines);
    const std::string folderDir = where.directory + "\\" + folderNumber;
    InsertIndexLine(where, kFolderPrefix, folderNumber, kNewFolderName, *lines);
    if (!fs_.CreateDirs(folderDir)) {
        ShowError(FormatMessageText(kMsgFileCantBeSaved, IndexPathIn(folderDir)));
        return;
    }
    // The folder's own files come first; the parent's index names the folder
    // only once they are there.
    const std::string replyNumber = FreeEntryNumber(fs_, folderDir, false, {});
    const std::string replyPath = folderDir + "\\" + replyNumber + kReplyExtension;
    if (!WriteOrReport(fs_, IndexPathIn(folderDir), {MakeIndexLine(kReplyPrefix, replyNumber, kNewReplyName)})
        || !WriteOrReport(fs_, replyPath, kEmptyReplyLines) || !WriteOrReport(fs_, indexPath, *lines)) {
        DeleteTree(fs_, folderDir);
        return;
    }
    lock.reset();
    const int folder = !where.parent && !where.before ? library_.AddNodeLast(kNewFolderName, nullptr)
        : where.asFirst                               ? library_.AddNodeFirst(kNewFolderName, where.parent)
                                                      : library_.InsertNodeBefore(kNewFolderName, where.before);
    TRep* folderRep = library_.Items(folder);
    folderRep->FolderName = folderNumber;
    StartNaming(library_.LoadReplyFile(replyPath, kNewReplyName, false, nullptr, folderRep->Node));
}

void TLibraryEditing::StartNaming(int newEntry)
{
    if (newEntry < 0)
        return;
    const TreeNode node = library_.Items(newEntry)->Node;
    SelectNode(node);
    tree_.EditLabel(node);
}

// ---------------------------------------------------------------- renaming

void TLibraryEditing::NavigationEdited(TreeNode node, const std::string& text)
{
    TRep* rep = library_.RepOf(node);
    if (!rep)
        return;
    // An empty name is refused, and so is any name where the library may
    // not be changed, or for the team library's folder (named in Options):
    // the label keeps the entry's name, which the tree and the index share,
    // whatever the Name box holds meanwhile.
    if (text.empty() || rep->IsLibraryTop() || !MayChange(rep))
        return;
    if (!Rename(rep, text)) {
        ShowError(FormatMessageText(kMsgFileCantBeSaved, IndexPathIn(rep->ContainerPath())));
        return;
    }
    if (rep == shown_) {
        panel_.name.SetText(tree_.Label(node));
        nameChanged_ = false;
    }
}

// ---------------------------------------------------------------- deleting

void TLibraryEditing::NavDeleteExecute()
{
    const TreeNode node = tree_.Selected();
    TRep* rep = library_.RepOf(node);
    if (!rep || rep->IsLibraryTop() || !MayChange(rep))
        return;
    const char* question = tree_.ChildCount(node) > 0 ? kMsgDeleteFolder : kMsgDeleteReply;
    if (!AskYesNo(FormatMessageText(question, tree_.Label(node))))
        return;
    {
        Quiet quiet(*this);
        const TreeNode parent = tree_.Parent(node);
        DeleteEntry(rep);
        RemoveEmptiedFolders(parent);
    }
    LoadPanel();
}

void TLibraryEditing::DeleteEntry(TRep* rep)
{
    // Pending edits of the entry, or of one inside it, go with it: written
    // back they would re-create what was just deleted.
    if (shown_ && IsInSubtree(shown_->Node, rep->Node)) {
        shown_ = nullptr;
        nameChanged_ = false;
        replyChanged_ = false;
    }
    std::erase_if(unsaved_, [&](const auto& unsaved) { return IsInSubtree(unsaved.first->Node, rep->Node); });
    // The disk's refusals are not the user's business here.
    if (IsTeam(rep))
        team_->Deleted(*rep);
    else
        static_cast<void>(library_.DeleteFiles(rep));
    library_.RemoveSubtree(rep->Node);
}

// A folder never survives its last child.
void TLibraryEditing::RemoveEmptiedFolders(TreeNode folder)
{
    // A library's top folder stays, empty or not.
    while (folder && tree_.ChildCount(folder) == 0 && !library_.RepOf(folder)->IsLibraryTop()) {
        const TreeNode above = tree_.Parent(folder);
        DeleteEntry(library_.RepOf(folder));
        folder = above;
    }
}

// ---------------------------------------------------------------- moving

bool TLibraryEditing::NavigationDragOver(TreeNode target, bool fromTree) const
{
    const TreeNode dragged = tree_.Selected();
    return fromTree && target && dragged && !IsInSubtree(target, dragged);
}

void TLibraryEditing::NavigationDragDrop(TreeNode target)
{
    const TreeNode dragged = tree_.Selected();
    if (!target || !dragged || IsInSubtree(target, dragged))
        return;
    TRep* entry = library_.RepOf(dragged);
    TRep* targetRep = library_.RepOf(target);
    if (!entry || !targetRep || !MayChange(entry) || !MayChange(targetRep))
        return;
    Quiet quiet(*this);
    const TreeNode formerParent = tree_.Parent(dragged);
    // Team entries move among themselves; between the libraries would be a
    // copy and a delete, which the team folder does not take.
    const bool team = IsTeam(entry);
    if (team != IsTeam(targetRep) || (!team && !library_.MoveBefore(entry, targetRep))) {
        ShowError(FormatMessageText(kMsgEntryCantBeMoved, tree_.Label(dragged)));
        return;
    }
    library_.MoveNodeBefore(entry, targetRep);
    if (team)
        team_->Changed(*entry); // its folder now
    // The moved entry stays selected and keeps its pending edits; the next
    // commit writes them at its new place.
    if (tree_.Selected() != entry->Node)
        tree_.Select(entry->Node);
    RemoveEmptiedFolders(formerParent);
}

// ---------------------------------------------------------------- the panel

bool TLibraryEditing::EditNameKeyPress(char key)
{
    if (key != kKeyEnter)
        return false;
    CommitEdits();
    return true;
}

void TLibraryEditing::EditMacroChange()
{
    // Typed keys are filtered before they arrive; a paste is not.
    const std::string text = panel_.macro.Text();
    const std::string kept = MacroCharsOf(text);
    if (kept != text) {
        panel_.macro.SetText(kept);
        return; // setting the text raises this change again
    }
    replyChanged_ = true;
}

bool TLibraryEditing::EditMacroKeyPress(char key)
{
    if (key == kKeyEnter) {
        const std::string macro = panel_.macro.Text();
        const int match = macro.empty() ? -1 : library_.MatchMacro(macro);
        if (match >= 0 && library_.MacroReplyAt(match) != shown_)
            ShowInfo(kMsgMacroAssigned);
        else
            CommitEdits();
        return true;
    }
    if (key == kKeyBackspace)
        return false;
    return !IsMacroChar(key);
}

void TLibraryEditing::ComboBoxKeyChange()
{
    const std::string code = SelectedKeyCode();
    const int taken = code.empty() ? -1 : library_.FindHotKey(code);
    if (taken < 0) {
        if (panel_.hotKey.Checked())
            WarnIfHotKeyTypes(code);
        replyChanged_ = true;
        CommitEdits();
    } else if (library_.HotKeyReplyAt(taken) != shown_) {
        ShowInfo(kMsgHotKeyAssigned);
    }
}

void TLibraryEditing::ReloadSharedFolders(const std::vector<std::string>& dirs)
{
    ShowSharedLibrary([&] {
        for (const std::string& dir : dirs)
            (void)library_.ReloadSharedFolder(dir);
    });
}

TRep* TLibraryEditing::FindByPath(const std::string& path) const
{
    for (int i = 0; !path.empty() && i < library_.Count(); ++i)
        if (library_.Items(i)->HasSafePath() && library_.Items(i)->OwnPath() == path)
            return library_.Items(i);
    return nullptr;
}

void TLibraryEditing::ShowSharedLibrary(const std::function<void()>& change)
{
    CommitEdits();
    // The entries may be made anew: the selection and the edits whose file
    // could not be written follow them by path.
    auto pathOf = [](const TRep* rep) { return rep && rep->HasSafePath() ? rep->OwnPath() : std::string(); };
    const std::string selected = pathOf(library_.RepOf(tree_.Selected()));
    std::vector<std::pair<std::string, ReplyEdit>> unsaved;
    for (auto it = unsaved_.begin(); it != unsaved_.end();)
        if (library_.IsShared(it->first)) {
            unsaved.emplace_back(pathOf(it->first), std::move(it->second));
            it = unsaved_.erase(it);
        } else {
            ++it;
        }
    {
        Quiet quiet(*this);
        change();
        if (TRep* again = FindByPath(selected); again && tree_.Selected() != again->Node)
            tree_.Select(again->Node);
        for (auto& [path, edit] : unsaved)
            if (TRep* again = FindByPath(path))
                unsaved_[again] = std::move(edit);
    }
    LoadPanel();
}

bool TLibraryEditing::MayShowTeamAnew(bool focusInBoxes) const
{
    const bool teamShown = shown_ && library_.IndexOf(shown_) >= 0 && IsTeam(shown_);
    return !(teamShown && (nameChanged_ || replyChanged_ || focusInBoxes));
}

void TLibraryEditing::ShowTeamAnew(const std::function<void()>& change)
{
    const TRep* selected = library_.RepOf(tree_.Selected());
    const bool teamSelected = selected && library_.IsShared(selected);
    const std::string entry = teamSelected ? selected->TeamEntry : std::string();
    const std::string head = teamSelected ? selected->TeamHead : std::string();
    const bool top = teamSelected && selected->IsLibraryTop();
    {
        Quiet quiet(*this);
        change();
        if (!teamSelected)
            return; // the user's own entry and its boxes stay as they are
        // The same version if it is still shown, else the entry's first.
        TRep* again = top ? library_.SharedTop() : nullptr;
        for (int i = 0; !top && !entry.empty() && i < library_.Count(); ++i) {
            TRep* rep = library_.Items(i);
            if (rep->TeamEntry == entry && (!again || (rep->TeamHead == head && again->TeamHead != head)))
                again = rep;
        }
        tree_.Select(again ? again->Node : nullptr);
    }
    LoadPanel();
}

bool HotKeyTypesCharacter(const IKeyboardLayouts* layouts, char key, bool shift)
{
    const std::vector<TKeyTranslation> given = layouts
        ? layouts->TranslateOnEach(static_cast<unsigned char>(key), {true, true, shift})
        : std::vector<TKeyTranslation>{};
    bool asked = false;
    for (const TKeyTranslation& t : given) {
        if (t.kind == TKeyTranslation::Kind::DeadKey
            || (t.kind == TKeyTranslation::Kind::Character && t.character >= 0x20))
            return true;
        asked = asked || t.kind != TKeyTranslation::Kind::Unavailable;
    }
    if (asked)
        return false;
    // AltGr gives these on widely used layouts: the digits ({ [ ] } and
    // more on German, French and Nordic ones), € on E, @ on Q, µ on M, and
    // the letters of Polish, Czech, Hungarian and Baltic keyboards.
    static constexpr std::string_view CommonAltGrKeys = "0123456789ACELMNOQSUXZ";
    return CommonAltGrKeys.find(key) != std::string_view::npos;
}

void TLibraryEditing::ChooseFreeHotKey()
{
    const bool shift = panel_.shift.Checked();
    auto isFree = [&](size_t key) { return library_.FindHotKey(MakeHotKeyCode(shift, kHotKeyChars[key])) < 0; };
    auto types = [&](size_t key) { return HotKeyTypesCharacter(layouts_, kHotKeyChars[key], shift); };
    const int current = panel_.key.SelectedIndex();
    if (current >= 0 && current < static_cast<int>(kHotKeyChars.size()) && isFree(static_cast<size_t>(current))
        && !types(static_cast<size_t>(current)))
        return;
    // A key that types a character only when every free one does.
    for (bool allowTyping : {false, true})
        for (size_t key = 0; key < kHotKeyChars.size(); ++key)
            if (isFree(key) && (allowTyping || !types(key))) {
                panel_.key.Select(static_cast<int>(key));
                return;
            }
}

void TLibraryEditing::WarnIfHotKeyTypes(const std::string& code)
{
    if (typingHotKeyTold_ || code.empty())
        return;
    const HotKeyParts parts = SplitHotKeyCode(code);
    if (!HotKeyTypesCharacter(layouts_, parts.key, parts.shift))
        return;
    typingHotKeyTold_ = true;
    ShowWarning(HotKeyTypesCharacterText);
}

void TLibraryEditing::AssignHotKeyFromPanel()
{
    ChooseFreeHotKey();
    replyChanged_ = true;
    CommitEdits();
}

} // namespace corvane
