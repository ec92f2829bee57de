#pragma once
// The main window's editing of the library: the add, delete, rename and move
// commands of the navigation tree, the reply parameter panel and the commits
// that write its pending edits. The window forwards its controls' events
// here; every decision about the library is taken here.
#include "platform/PanelControls.h"
#include "platform/ReplyEditor.h"
#include "platform/TreeControl.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class IFileSystem;
class IKeyboardLayouts;
class TFolderLock;
class TRep;
class TRepList;

// Where edits of team entries go: each call records one change of the entry
// as it now stands in the tree, made on the version it shows (TeamHead).
class ITeamEdits {
public:
    virtual ~ITeamEdits() = default;
    virtual std::string NewEntryId() = 0;
    virtual void Added(const TRep& rep) = 0;
    virtual void Changed(const TRep& rep) = 0; // name, folder, macro, hot key or text
    virtual void Deleted(const TRep& rep) = 0; // with what a folder shows
};

// The controls of the reply parameter panel, and the editor below it.
struct TReplyPanel {
    ILineEdit& name; // EditName
    ILineEdit& macro; // EditMacro
    ICheckBox& hotKey; // CheckBoxHotKey
    ICheckBox& shift; // CheckBoxShift
    IDropDownList& key; // ComboBoxKey: the keys of kHotKeyChars, in that order
    IReplyEditor& editor;
};

// A character a macro may hold: one the keystroke recogniser can produce.
bool IsMacroChar(char c);
// `text` without the characters a macro may not hold.
std::string MacroCharsOf(std::string_view text);

inline constexpr char kKeyEnter = '\r';
inline constexpr char kKeyBackspace = '\b';

// Whether Ctrl+Alt (and Shift) with `key` types a character (AltGr) on one of
// the user's layouts; without layouts to ask, whether it does on a common one.
bool HotKeyTypesCharacter(const IKeyboardLayouts* layouts, char key, bool shift);

// Pointer this close to the tree's top or bottom edge scrolls it while dragging.
inline constexpr int kDragScrollMargin = 15;
// -1: one line up, 1: one line down, 0: no scrolling. The pointer (x, y) is
// in the tree's client coordinates; outside the tree nothing scrolls.
int DragScrollDirection(int x, int y, int treeWidth, int treeHeight);

class TLibraryEditing {
public:
    TLibraryEditing(TRepList& library, IFileSystem& fs, const TReplyPanel& panel);
    TLibraryEditing(const TLibraryEditing&) = delete;
    TLibraryEditing& operator=(const TLibraryEditing&) = delete;

    // Uncommitted edits of the entry shown in the panel.
    bool NameChanged() const { return nameChanged_; }
    bool ReplyChanged() const { return replyChanged_; }

    // Writes the pending edits of the entry shown in the panel. A write that
    // fails is reported and the edit stays pending, also when the selection
    // moves on: the library takes an edit only once its file holds it, and
    // the panel shows the unsaved edit again whenever its reply is selected.
    void CommitEdits();
    // Whether an edit of `reply` waits for its file to be written.
    [[nodiscard]] bool HasUnsavedEdit(const TRep* reply) const { return unsaved_.contains(reply); }
    // Whether Save All has anything to try again.
    [[nodiscard]] bool HasUnsavedEdits() const { return !unsaved_.empty(); }

    // Selection of the tree. The tree control raises Changing before and
    // Change after the user moves the selection.
    void NavigationChanging();
    void NavigationChange();
    // Commits, selects `node` (none allowed) and loads the panel and the
    // editor for it, also when it was selected already: selecting a reply
    // loads its stored text into the editor, selecting it again restores it.
    void SelectNode(TreeNode node);

    // Commands.
    void NavAddReplyExecute();
    void NavAddFolderExecute();
    void NavDeleteExecute();
    // Save All: the pending edits, then every unsaved edit of another reply
    // (also run when the program ends).
    void EditorForceSaveExecute();

    // An in-place label edit of `node` ended with `text`.
    void NavigationEdited(TreeNode node, const std::string& text);

    // Dragging the selected node inside the tree: whether it may be dropped
    // on `target`, and the drop.
    bool NavigationDragOver(TreeNode target, bool fromTree) const;
    void NavigationDragDrop(TreeNode target);

    // A right-button press selects the node under the pointer, or nothing.
    void NavigationRightButtonDown(TreeNode underPointer);
    void ListMacrosClick();
    void ListHotKeysClick();

    // The panel's controls. The key-press handlers return true when the key
    // is swallowed.
    void EditNameChange() { nameChanged_ = true; }
    [[nodiscard]] bool EditNameKeyPress(char key);
    // Also strips what a paste brought that a macro may not hold.
    void EditMacroChange();
    [[nodiscard]] bool EditMacroKeyPress(char key);
    void EditorChange() { replyChanged_ = true; }
    void ComboBoxKeyChange();
    // Left-button releases over the check boxes, after they have toggled.
    void CheckBoxHotKeyMouseUp() { AssignHotKeyFromPanel(); }
    void CheckBoxShiftMouseUp() { AssignHotKeyFromPanel(); }
    // The focus entered EditName, EditMacro, ComboBoxKey, the editor or a
    // font box of the editor's toolbar.
    void ControlEnter() { CommitEdits(); }

    // Shows what another computer changed in these folders of the shared
    // library. Pending edits are written first (as a copy when the reply was
    // changed elsewhere); the selection stays on the same entry while it
    // exists.
    void ReloadSharedFolders(const std::vector<std::string>& dirs);
    // Runs `change`, which loads, replaces or removes the shared library,
    // after writing the pending edits; the panel then shows the selection.
    void ShowSharedLibrary(const std::function<void()>& change);

    // Team entries (shared ones shown from change files) are changed through
    // `team` instead of files; none: the shared library's files are written.
    void SetTeamEdits(ITeamEdits* team) { team_ = team; }
    // Whether the team entries may be shown anew now: not while the user is
    // editing a team entry's name, macro or text (`focusInBoxes`: the focus
    // is in the panel's boxes or the editor).
    [[nodiscard]] bool MayShowTeamAnew(bool focusInBoxes) const;
    // Runs `change`, which makes the team entries anew, without committing
    // anything; the selection follows the team entry it was on.
    void ShowTeamAnew(const std::function<void()>& change);

    // Leaves a free key selected in ComboBoxKey, for the current Shift state;
    // one that types no character when there is one.
    void ChooseFreeHotKey();
    // The layouts asked which hot keys type characters; none: a list of the
    // keys that do on common layouts.
    void SetKeyboardLayouts(const IKeyboardLayouts* layouts) { layouts_ = layouts; }

private:
    struct Placement;
    class Quiet;
    // A reply's edit as the panel held it: macro, hot-key code, body.
    struct ReplyEdit {
        std::string macro;
        std::string hotKey;
        std::string body;
    };

    TRep* SelectedRep() const;
    std::string SelectedKeyCode() const;
    void CommitName(TRep* rep);
    void CommitReply(TRep* reply);
    // The library takes `edit` only when the reply's file could be written with it.
    [[nodiscard]] bool WriteReply(TRep* reply, const ReplyEdit& edit);
    void ShowUnsavedEdit(const ReplyEdit& edit);
    void MoveSelectionTo(TreeNode node);
    void LoadPanel();
    void LoadReplyControls(TRep* reply);
    void ClearListSelections();
    void AssignHotKeyFromPanel();
    // Tells the user, once, that the hot key picked types a character too.
    void WarnIfHotKeyTypes(const std::string& code);
    Placement PlacementForSelection() const;
    void InsertIndexLine(const Placement& where, std::string_view prefix, const std::string& number,
        const std::string& name, std::vector<std::string>& lines) const;
    void StartNaming(int newEntry);
    // Writes a reply file holding `fileLines` and its index line at `where`,
    // under the folder's lock; the new file's path, or empty (reported).
    std::string WriteNewReply(
        const Placement& where, const std::string& name, const std::vector<std::string>& fileLines);
    // False, after telling the user, when the folder's library may not be
    // changed now or its lock cannot be had.
    bool MayChangeIn(const std::string& dir) const;
    bool LockOrReport(const std::string& dir, std::optional<TFolderLock>& lock);
    bool MayChange(const TRep* rep) const;
    // The user's version of a reply that another computer changed meanwhile
    // becomes a new reply beside it; the reply itself shows what is stored.
    void SaveAsMyCopy(TRep* reply);
    TRep* FindByPath(const std::string& path) const;
    // Drops the pending edits and shows the entry as stored.
    void DiscardPendingEdits();
    void DeleteEntry(TRep* rep);
    void RemoveEmptiedFolders(TreeNode folder);
    bool IsInSubtree(TreeNode node, TreeNode root) const;
    bool IsTeam(const TRep* rep) const;
    bool IsTeamPlace(const Placement& where) const;
    bool Rename(TRep* rep, const std::string& name);
    TRep* AddTeamEntry(const Placement& where, const std::string& name, bool folder);

    TRepList& library_;
    ITeamEdits* team_ = nullptr;
    ITreeControl& tree_;
    IFileSystem& fs_;
    TReplyPanel panel_;
    TRep* shown_ = nullptr; // the entry the panel was loaded for
    bool nameChanged_ = false;
    bool replyChanged_ = false;
    int quiet_ = 0; // selection events are not acted on while positive
    const IKeyboardLayouts* layouts_ = nullptr;
    bool typingHotKeyTold_ = false;
    std::map<TRep*, ReplyEdit, std::less<>> unsaved_; // edits whose file could not be written
};

} // namespace corvane
