#pragma once
// The main window: navigation tree, macro and hot-key lists, the reply
// editing panel, the tray icon and the program's menus. Its member functions
// are spread over files by subsystem (FormCorvane*.cpp).
#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <memory>
#include <span>
#include <string>

#include "editing/LibraryEditing.h"
#include "engine/DragOut.h"
#include "engine/MacroInsertions.h"
#include "shell/CommandTable.h"
#include "shell/MainLayout.h"
#include "shell/UnitIdleUpdate.h"
#include "shell/UnitMainWindowModes.h"
#include "hooks/HtSysHookStartup.h"
#include "shell/UnitTrayRules.h"
#include "win32/Handles.h"
#include "win32/HtSysHookHost.h"
#include "win32/PanelControlAdapters.h"
#include "win32/RichEditControl.h"

namespace corvane {
class TEditorFormatting;
class TEngine;
class TRepList;
class TRep;
class IFileSystem;
class IRegistry;
} // namespace corvane

namespace corvane::win32 {

class TreeViewControl;
class ListBoxControl;
class RichEditControl;
class FormattingToolbarControls;
class TFormMacroInserts;
class TFormReplyPicker;
class Win32Desktop;
class Win32Clock;
class Win32MessageBoxes;

class TFormCorvane {
public:
    TFormCorvane(HINSTANCE instance, IFileSystem& fs, IRegistry& registry);
    ~TFormCorvane();
    TFormCorvane(const TFormCorvane&) = delete;
    TFormCorvane& operator=(const TFormCorvane&) = delete;

    // Creates the window; runs the creation handler. False when the window
    // could not be created at all.
    bool Create();
    // Shows the window as the first show does (Always on Top is applied).
    void Show();
    // The hidden start: shown and at once closed, so it is never left visible.
    void ShowAndClose();
    // Destroys the window; runs the destruction handler.
    void Destroy();

    HWND Handle() const { return window_; }
    // Keyboard shortcuts of the window; true when the message was one.
    bool TranslateShortcut(MSG& msg);
    // Enables and disables commands and controls; run whenever the message
    // queue is empty.
    void IdleUpdate();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // Shell: creation, destruction, layout, menus, tray.
    void FormCreate();
    void FormDestroy();
    void CreateControls();
    HWND CreateChild(const char* className, const char* text, DWORD style, int id, DWORD exStyle = 0);
    void BuildMainMenu();
    void LayoutControls();
    void MoveChild(HWND child, const LayoutRect& r);
    HWND CreateButtonColumn(std::span<const CommandId> buttons);
    // Every command, whatever its source, runs here, unless the idle update
    // has it disabled.
    void RunCommand(int id);
    void OnCommand(int id);
    FocusedControl FocusKind(HWND focus) const;
    void MoveFocus(HWND from, bool backwards);
    // Notifications from the main window's controls, dispatched per control.
    void OnControlCommand(int controlId, int code);
    LRESULT OnControlNotify(NMHDR& header);
    LRESULT OnNavigationNotify(NMHDR& header);
    void SetTreeImages(TVITEMA& item) const;
    void ExitProgram();
    void NavCtxCopyExecute();
    void ShowNavPopup(int screenX, int screenY);
    void OnTreeRightClick();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void OnTrayNotify(LPARAM mouseMessage);
    void ShowTrayMenu();
    void ShowFromTray();
    // "Pause Corvane": recognition stops or starts again, and the tip says so.
    void TogglePause();
    void ApplyAlwaysOnTop();
    void TipTimerTimer();
    void SetEditorSpaceBefore();
    void PaintSplitters();
    void ReportSettingsNotSaved(bool saved);

    // Modes, geometry and splitters.
    class ModeWindow;
    class EngineArming;
    friend class ModeWindow;
    friend class EngineArming;
    class Creation;
    friend class Creation;
    bool SetSplitterCursor();
    void BeginSplitterDrag(int x, int y);
    void DragSplitter(int x, int y);
    void EndSplitterDrag();
    void OnMinMaxInfo(MINMAXINFO& info) const;
    void ToggleModeCommand();
    void SetModeItemCaption(const std::string& caption);
    void OnActivateApp(bool active);

    // Expansion engine: hook events, the timer and the delivery commands.
    class EngineWindow;
    friend class EngineWindow;
    void CreateEngine();
    void ConnectHookEvents();
    void OnFixTimer();
    void CopyEntireExecute();
    void PasteIntoLastActiveExecute();
    void TrayInsertExecute();
    TDialogPlace AroundDeliveryButton(int id) const;
    // PopupMenuPreDefParams: the eleven placeholders in four groups.
    void BuildPlaceholderMenu();
    void InsertPlaceholder(int index);
    // A reply dragged from the tree and released outside the main window.
    void DropReplyOutside();

    // Idle update.
    TIdleInput CollectIdleInput() const;
    void ApplyCommandStates(const TCommandStates& states);
    SelectedNode SelectedKind() const;
    TRep* SelectedRep() const;
    void FillKeyTable();

    // Formatting toolbar and the editor's format.
    void CreateFormattingToolbar();
    void PlaceFormattingBoxes();
    void FillFontList();
    void RefreshFormattingToolbar();
    void OnFormattingCommand(int controlId, int code);
    LRESULT OnFormattingToolbarNotify(const NMHDR& header);
    void ShowColorMenu(int buttonId);
    void ShowPlaceholderMenu(int buttonId);
    POINT BelowToolButton(int buttonId) const;
    void ApplyFormattingStates(const TCommandStates& states);
    bool MeasureMenuItem(MEASUREITEMSTRUCT& item);
    bool DrawMenuItem(const DRAWITEMSTRUCT& item);

    // Library.
    void CreateReplyLibrary();
    void LoadReplyLibrary();

    // Library editing: the controls' events forwarded to the editing handlers.
    void CreateEditing();
    void DestroyEditing();
    void CommitEdits();
    // True when `id` is an editing command, which has then run.
    bool RunEditingCommand(int id);
    void OnEditingControlCommand(int controlId, int code);
    // True when the tree's notification was an editing one; `result` is the
    // answer to it.
    bool OnEditingNavigationNotify(const NMHDR& header, LRESULT& result);
    void SubclassPanelControls();
    static LRESULT CALLBACK PanelControlProc(
        HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    bool PanelKeyPress(int controlId, char key);
    void PanelLeftButtonUp(int controlId);
    void BeginTreeDrag(HTREEITEM item);
    // Mouse messages while a node is dragged in the tree; true when one was.
    bool OnTreeDragMouse(UINT msg, int x, int y);
    // The engine's part of a move of the tree drag: the pointer set back
    // onto the border when it asks so; tells which cursor to show.
    TDragStep FollowDragOut(int clientX, int clientY);
    void EndTreeDrag(bool drop);

    HINSTANCE instance_;
    IFileSystem& fs_;
    IRegistry& registry_;
    HWND window_ = nullptr;
    bool compact_ = false;
    PanelSizes panelSizes_;
    MainLayout layout_;
    TModeState modeState_;
    int minWidth_ = kFullMinWidth;
    int minHeight_ = kFullMinHeight;
    SplitterId dragging_ = SplitterId::None;
    int dragOffset_ = 0;
    TCommandStates commandStates_;
    std::unique_ptr<ModeWindow> modeWindow_;
    std::unique_ptr<EngineArming> engineArming_;

    // Expansion engine, armed while another application is active.
    bool fixTimerEnabled_ = false;
    bool terminating_ = false;
    HWND foregroundAtTick_ = nullptr; // foreground window at the last FixTimer tick
    std::unique_ptr<Win32Desktop> desktop_;
    std::unique_ptr<Win32Clock> clock_;
    std::unique_ptr<Win32MessageBoxes> engineBoxes_;
    std::unique_ptr<TFormMacroInserts> macroInserts_;
    std::unique_ptr<TFormReplyPicker> picker_;
    std::unique_ptr<EngineWindow> engineWindow_;
    std::unique_ptr<TEngine> engine_;

    UniqueGdiObject font_;
    UniqueImageList treeImages_;
    UniqueMenu trayMenu_;
    UniqueIcon appIcon_;
    UniqueIcon smallIcon_; // window class and tray
    UINT taskbarCreatedMessage_ = 0;
    bool trayIconAdded_ = false;

    // Controls (children are destroyed with the window).
    HWND navigation_ = nullptr;
    HWND lastFocus_ = nullptr;
    HWND listMacros_ = nullptr, listHotKeys_ = nullptr;
    HWND captionMacros_ = nullptr, captionHotKeys_ = nullptr;
    UniqueImageList buttonImages_;
    std::deque<std::string> buttonHints_; // the button columns keep pointers to these
    HWND navToolbar_ = nullptr; // PanelNavButs
    HWND saveToolbar_ = nullptr; // PanelBottomBar, top
    HWND deliveryToolbar_ = nullptr; // PanelBottomBar, bottom
    HWND labelName_ = nullptr, editName_ = nullptr;
    HWND labelMacro_ = nullptr, editMacro_ = nullptr;
    HWND checkHotKey_ = nullptr, labelCtrlAlt_ = nullptr, checkShift_ = nullptr;
    HWND labelPlus_ = nullptr, comboKey_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND editor_ = nullptr;
    UniqueModule richEditLibrary_;
    HWND fontName_ = nullptr, fontSize_ = nullptr, fontSizeArrows_ = nullptr;
    UniqueImageList formattingGlyphs_;
    UniqueMenu colorMenu_;
    UniqueMenu placeholderMenu_; // PopupMenuPreDefParams, filled by the engine
    std::unique_ptr<RichEditControl> editorControl_;
    std::unique_ptr<FormattingToolbarControls> formattingToolbar_;
    std::unique_ptr<TEditorFormatting> formatting_;

    std::unique_ptr<TreeViewControl> tree_;
    std::unique_ptr<ListBoxControl> hotKeyList_;
    std::unique_ptr<ListBoxControl> macroList_;
    std::unique_ptr<TRepList> library_;
    std::unique_ptr<LineEditControl> nameEdit_, macroEdit_;
    std::unique_ptr<CheckBoxControl> hotKeyBox_, shiftBox_;
    std::unique_ptr<DropDownListControl> keyList_;
    std::unique_ptr<RichEditControl> replyContent_;
    std::unique_ptr<TLibraryEditing> editing_;
    bool treeDragging_ = false;
    bool dropAccepted_ = false;
    TreeNode dropTarget_ = nullptr;
    THtProgramHooks hooks_{HookHost()}; // ShellHook, KeyHook, MouseHook
};

} // namespace corvane::win32
