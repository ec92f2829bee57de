#pragma once
// The main window: it creates and holds its parts (the library panel, the
// button columns, the reply editor, the engine's wiring, the tray icon, the
// modes), lays them out, dispatches its messages to them, and runs the
// program's commands and their idle-time enabling.
#include <windows.h>

#include <memory>

#include "engine/KeyGate.h"
#include "hooks/HtSysHookStartup.h"
#include "platform/Desktop.h"
#include "shell/CommandTable.h"
#include "shell/UnitIdleUpdate.h"
#include "win32/Handles.h"
#include "win32/HookHost32Process.h"
#include "win32/HtSysHookHost.h"
#include "win32/app/ButtonColumns.h"
#include "win32/app/EditorPanel.h"
#include "win32/app/LibraryPanel.h"
#include "win32/app/WindowModes.h"

namespace corvane {
class IFileSystem;
class IMessageBoxes;
class IRegistry;
} // namespace corvane

namespace corvane::win32 {

class EngineWiring;
class TrayIcon;
class TreeDrag;

class TFormCorvane {
public:
    TFormCorvane(HINSTANCE instance, IFileSystem& fs, IRegistry& registry, IMessageBoxes& boxes);
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
    LRESULT OnMouse(UINT msg, int x, int y);

    class Creation;
    friend class Creation;
    void FormCreate();
    // The library's files are in: the library is built from them, and what
    // works on it (editing, team library, engine, dragging) is made.
    void OnLibraryRead();
    // What no reply needs is left until the library is in, so that the
    // window's thread builds it as soon as its files are read: the hook host
    // for 32-bit programs, the font box's list.
    void FinishStart();
    void CreateParts();
    void FormDestroy();
    void BuildMainMenu();
    void LayoutControls();
    void RelayoutFormattingToolbar();
    // The window is now on a display of `dpi`: fonts, pictures and layout follow.
    void OnDpiChanged(int dpi, const RECT& suggested);
    void ApplyAlwaysOnTop();
    // Restored, shown and given the foreground, which `previous` had.
    void BringForward(HWND previous);
    void ShowFromTray();
    void ShowFromTrayClick();
    void ReportSettingsNotSaved(bool saved);

    // Every command, whatever its source, runs here, unless the idle update
    // has it disabled.
    void RunCommand(int id);
    void OnCommand(int id);
    void ExitProgram();
    FocusedControl FocusKind(HWND focus) const;
    void MoveFocus(HWND from, bool backwards);
    void OnControlCommand(int controlId, int code);
    LRESULT OnControlNotify(NMHDR& header);
    void ShowNavPopup(int screenX, int screenY);
    TIdleInput CollectIdleInput() const;
    void ApplyCommandStates(const TCommandStates& states);

    HINSTANCE instance_;
    IRegistry& registry_;
    IMessageBoxes& boxes_;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    UniqueGdiObject font_;
    UniqueIcon appIcon_;
    UniqueIcon smallIcon_; // window class and tray
    TCommandStates commandStates_;

    WindowModes modes_;
    LibraryPanel library_;
    ButtonColumns buttons_;
    EditorPanel editor_;
    std::unique_ptr<EngineWiring> engine_;
    std::unique_ptr<TreeDrag> treeDrag_;
    std::unique_ptr<TrayIcon> tray_;
    // Answers the hooked programs on the receiver thread; outlives the hooks.
    std::unique_ptr<IDesktop> gateDesktop_;
    std::unique_ptr<TKeyGate> keyGate_;
    std::unique_ptr<IHeldKeys> heldKeys_; // the gate's, sent on by this program
    THtProgramHooks hooks_{HookHost()}; // ShellHook, KeyHook, MouseHook
    HookHost32Process hookHost32_; // ended before the hooks stop
    std::string hookHost32Path_; // started by FinishStart
};

} // namespace corvane::win32
