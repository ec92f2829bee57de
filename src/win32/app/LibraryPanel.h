#pragma once
// The library panel: the navigation tree with its images, the macro and hot
// key lists, and the reply parameter row (name, macro, hot key), bound to
// the reply library and its editing handlers.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "library/LibraryTidy.h"
#include "platform/TreeControl.h"
#include "shell/UnitIdleUpdate.h"
#include "win32/Handles.h"

namespace corvane {
class IFileSystem;
class IRegistry;
class IReplyEditor;
class TSharedWatch;
class TReadAheadFileSystem;
class TTeamLibrary;
class TTeamSync;
class TLibraryEditing;
class TRep;
class TRepList;
class TLazyTree;
struct MainLayout;
} // namespace corvane

namespace corvane::win32 {

// %LOCALAPPDATA%\Corvane 2: what this computer keeps for itself, never in a
// roaming profile; empty when Windows does not tell where that is.
std::string LocalDataFolder();

class ChildFactory;
class Win32FileSystem;
class FolderWatcher;
class CheckBoxControl;
class DropDownListControl;
class LineEditControl;
class ListBoxControl;
class TreeViewControl;

inline constexpr UINT_PTR kTeamTimerId = 3;
// How often a snapshot held back while the user edited a team entry is
// tried again.
inline constexpr UINT kTeamTimerInterval = 500;
// How often the team folder is exchanged with, whatever its notifications tell.
inline constexpr int kTeamExchangeInterval = 1000;

class LibraryPanel {
public:
    struct Events {
        // The enabled commands follow the panel's state at once.
        std::function<void()> stateChanged;
        // A right click on the tree, at screen coordinates.
        std::function<void(int x, int y)> treeMenu;
        // The user starts dragging the selected node.
        std::function<void()> dragStarted;
    };

    LibraryPanel(IFileSystem& fs, Events events);
    ~LibraryPanel();
    LibraryPanel(const LibraryPanel&) = delete;
    LibraryPanel& operator=(const LibraryPanel&) = delete;

    void CreateLists(const ChildFactory& children);
    // The tree's pictures and indent for a display of `dpi`.
    void ApplyDpi(HINSTANCE instance, int dpi);
    void CreateReplyParams(const ChildFactory& children);
    // The library's files are read (and tidied) on a thread of their own
    // from here on, which tells `window` when they are in (WM_LIBRARY_READ);
    // FinishLoading then builds the library from them and tells what the
    // tidy-up dropped. Until then the library is empty, the tree disabled,
    // and nothing edits them.
    void LoadReplies(HWND window, const std::string& root);
    TTidyReport FinishLoading();
    bool Loaded() const { return loaded_; }
    void CreateEditing(IReplyEditor& editor);
    // The library's nodes go after the editing; their notifications find none.
    void Destroy();
    void Layout(const MainLayout& layout);

    // The team library beside the user's own, from the settings (again when
    // the options change them), exchanged on a thread of its own, which
    // tells `window` of each new snapshot (WM_TEAM_PUBLISHED).
    void LoadTeamLibrary(HWND window, IRegistry& registry);
    // Its folder told `window` of a change (WM_TEAM_FOLDER_CHANGED).
    void TeamFolderChanged();
    // On WM_TEAM_PUBLISHED and the timer kTeamTimerId.
    void ShowTeamSnapshot();

    void CommitEdits();
    // True when `id` was one of the library's commands, which has then run.
    bool RunCommand(int id);
    void OnCommand(int controlId, int code);
    // True when the tree's notification was handled; `result` is the answer.
    bool OnTreeNotify(NMHDR& header, LRESULT& result);
    // Where the tree's context menu opens from the keyboard: below the selection.
    POINT SelectionMenuPoint() const;

    void CollectIdleInput(HWND focus, TIdleInput& in) const;
    void ApplyCommandStates(const TCommandStates& states);

    HWND Tree() const { return navigation_; }
    TLazyTree* TreeControl() const { return tree_.get(); }
    TRepList* Library() const { return library_.get(); }
    IFileSystem& Files() const { return fs_; }
    TLibraryEditing* Editing() const { return editing_.get(); }
    TRep* SelectedRep() const;
    SelectedNode SelectedKind() const;
    // The label of the selected entry; empty when none is.
    std::string SelectedReplyName() const;

private:
    void FillKeyTable();
    void SetTreeImages(TVITEMA& item) const;
    void OnTreeRightClick();
    void CopyNodeName();
    void SubclassReplyParams();
    static LRESULT CALLBACK ReplyParamProc(
        HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    bool ReplyParamKeyPress(int controlId, char key);
    void ReplyParamLeftButtonUp(int controlId);

    void TellTeamConflicts();
    TTidyReport BuildLibrary();
    struct Reader;

    IFileSystem& fs_;
    Events events_;
    HWND navigation_ = nullptr;
    UniqueImageList treeImages_;
    HWND listMacros_ = nullptr, listHotKeys_ = nullptr;
    HWND captionMacros_ = nullptr, captionHotKeys_ = nullptr;
    HWND labelName_ = nullptr, editName_ = nullptr;
    HWND labelMacro_ = nullptr, editMacro_ = nullptr;
    HWND checkHotKey_ = nullptr, labelCtrlAlt_ = nullptr, checkShift_ = nullptr;
    HWND labelPlus_ = nullptr, comboKey_ = nullptr;

    std::unique_ptr<TSharedWatch> watch_; // the file system as the library sees it
    std::unique_ptr<Win32FileSystem> teamFs_;
    std::unique_ptr<TTeamSync> teamSync_;
    std::unique_ptr<TReadAheadFileSystem> readAhead_; // the same, with the files read ahead
    std::unique_ptr<Reader> reader_;
    bool loaded_ = false;
    std::unique_ptr<TTeamLibrary> team_;
    std::unique_ptr<FolderWatcher> teamFolderWatcher_;
    HWND teamWindow_ = nullptr;
    IRegistry* registry_ = nullptr;
    std::unique_ptr<TreeViewControl> view_; // what the control holds
    std::unique_ptr<TLazyTree> tree_; // the whole library's tree
    std::unique_ptr<ListBoxControl> hotKeyList_;
    std::unique_ptr<ListBoxControl> macroList_;
    std::unique_ptr<TRepList> library_;
    std::unique_ptr<LineEditControl> nameEdit_, macroEdit_;
    std::unique_ptr<CheckBoxControl> hotKeyBox_, shiftBox_;
    std::unique_ptr<DropDownListControl> keyList_;
    std::unique_ptr<TLibraryEditing> editing_;
};

} // namespace corvane::win32
