// The main window: the menu bar, the keyboard shortcuts, the command
// dispatch and the idle-time enabling of commands and controls.
#include "win32/app/FormCorvane.h"

#include <commctrl.h>
#include <richedit.h>

#include "engine/Delivery.h"
#include "shell/UnitGlobalParams.h"
#include "shell/UnitShortcuts.h"
#include "win32/AboutBox.h"
#include "win32/MenuItems.h"
#include "win32/OptionsDialog.h"
#include "win32/ShellOpen.h"
#include "win32/TipDialog.h"
#include "win32/app/CommandIds.h"
#include "win32/app/EngineWiring.h"
#include "win32/app/ExchangeCommands.h"
#include "win32/app/TrayIcon.h"

namespace corvane::win32 {

namespace {

bool IsTextControl(HWND window)
{
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    return lstrcmpiA(cls, "Edit") == 0 || lstrcmpiA(cls, RICHEDIT_CLASSA) == 0;
}

} // namespace

void TFormCorvane::BuildMainMenu()
{
    HMENU bar = CreateMenu();
    for (const TMenuBarEntry& entry : MainMenuBar()) {
        if (!entry.popup) {
            AppendCommands(bar, entry.items);
            continue;
        }
        HMENU popup = CreatePopupMenu();
        AppendCommands(popup, entry.items);
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), entry.popup);
    }
    SetMenu(window_, bar); // the window owns and destroys its menu bar
}

void TFormCorvane::RunCommand(int id)
{
    // A shortcut or a stale menu must not run what the idle update disables.
    IdleUpdate();
    if (FindCommand(static_cast<unsigned>(id)) && !CommandEnabled(static_cast<unsigned>(id), commandStates_))
        return;
    OnCommand(id);
}

void TFormCorvane::OnCommand(int id)
{
    // Until the library is in (the engine comes with it), what works on the
    // library does nothing.
    if (library_.RunCommand(id) || editor_.RunCommand(id) || (engine_ && engine_->RunCommand(id))
        || (engine_ && RunExchangeCommand(id, window_, library_, registry_, boxes_)))
        return;
    switch (id) {
    case CmdExit:
    case CmdTrayExit:
        ExitProgram();
        break;
    case CmdTrayShow:
        ShowFromTray();
        break;
    case CmdTrayPause:
        if (!engine_)
            break;
        engine_->Engine().SetPaused(!engine_->Engine().Paused());
        engine_->PublishInputState();
        tray_->SetPaused(engine_->Engine().Paused());
        break;
    case CmdToggleMode:
        ReportSettingsNotSaved(modes_.Toggle());
        break;
    case CmdOptions: {
        const bool teamLibraryChanged
            = ShowOptionsDialog(window_, registry_, GlobalParams().ProgramPath).teamLibraryChanged;
        if (engine_)
            engine_->SettingsChanged();
        if (teamLibraryChanged && engine_)
            library_.LoadTeamLibrary(window_, registry_);
        break;
    }
    case CmdHelpTopics:
        OpenHelpTopics(GlobalParams());
        break;
    case CmdTutorials:
        OpenTutorials(GlobalParams());
        break;
    case CmdTipOfTheDay:
        ShowTipOfTheDay(window_, registry_);
        break;
    case CmdTutorialMovie:
        OpenTutorialMovie();
        break;
    case CmdHomePage:
        OpenProductHomePage();
        break;
    case CmdMakerHomePage:
        OpenMakerHomePage();
        break;
    case CmdAbout:
        ShowAboutBox(window_, appIcon_.Get());
        break;
    default:
        break;
    }
}

void TFormCorvane::ExitProgram()
{
    // Ends the message loop; the window is destroyed after it.
    PostQuitMessage(0);
}

void TFormCorvane::OnControlCommand(int controlId, int code)
{
    library_.OnCommand(controlId, code);
    switch (controlId) {
    case IdCheckHotKey:
    case IdCheckShift:
        // The key parts follow the box at once, not at the next idle moment.
        if (code == BN_CLICKED)
            IdleUpdate();
        break;
    default:
        editor_.OnCommand(controlId, code);
        break;
    }
}

LRESULT TFormCorvane::OnControlNotify(NMHDR& header)
{
    switch (header.idFrom) {
    case IdNavigation: {
        LRESULT result = 0;
        library_.OnTreeNotify(header, result);
        return result;
    }
    case IdEditor:
    case IdToolbar:
        return editor_.OnNotify(header);
    default:
        return 0;
    }
}

void TFormCorvane::ShowNavPopup(int screenX, int screenY)
{
    IdleUpdate();
    UniqueMenu popup(CreatePopupMenu());
    AppendCommands(popup.Get(), NavPopupItems());
    EnableCommands(popup.Get(), NavPopupItems(), commandStates_);
    TrackPopupMenu(popup.Get(), TPM_RIGHTBUTTON, screenX, screenY, 0, window_, nullptr);
}

// ---------------------------------------------------------------- keyboard

FocusedControl TFormCorvane::FocusKind(HWND focus) const
{
    if (IsTextControl(focus))
        return FocusedControl::Text; // also the tree's label editor
    return focus == library_.Tree() ? FocusedControl::Tree : FocusedControl::Other;
}

bool TFormCorvane::TranslateShortcut(MSG& msg)
{
    if (!window_ || !(msg.hwnd == window_ || IsChild(window_, msg.hwnd)))
        return false;
    const bool systemKey = msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP;
    if (!systemKey && msg.message != WM_KEYDOWN)
        return false;
    const TKeyStroke key{static_cast<unsigned>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
        GetKeyState(VK_MENU) < 0};
    if (systemKey && IsMenuBarKey(key)) {
        // Opened on the press; the release is swallowed so that nothing
        // toggles the menu a second time.
        if (msg.message == WM_SYSKEYDOWN)
            PostMessageA(window_, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return true;
    }
    if (msg.message == WM_SYSKEYUP)
        return false;
    if (const FocusMove move = FocusMoveFor(key); move != FocusMove::None) {
        MoveFocus(msg.hwnd, move == FocusMove::Previous);
        return true;
    }
    const auto command = ShortcutCommand(key, FocusKind(msg.hwnd));
    if (!command)
        return false;
    RunCommand(*command);
    return true;
}

void TFormCorvane::MoveFocus(HWND from, bool backwards)
{
    // The focused window may be a part of a control (a combo box's edit).
    while (from && GetParent(from) != window_)
        from = GetParent(from);
    if (HWND next = GetNextDlgTabItem(window_, from, backwards ? TRUE : FALSE))
        SetFocus(next);
}

// ---------------------------------------------------------------- idle update

TIdleInput TFormCorvane::CollectIdleInput() const
{
    TIdleInput in;
    const HWND focus = GetFocus();
    in.fullMode = !modes_.Compact();
    library_.CollectIdleInput(focus, in);
    editor_.CollectIdleInput(focus, in);
    in.lastActiveWindowValid = engine_ && engine_->LastActiveWindowValid();
    return in;
}

void TFormCorvane::IdleUpdate()
{
    if (!window_)
        return;
    commandStates_ = corvane::IdleUpdate(CollectIdleInput(), commandStates_);
    ApplyCommandStates(commandStates_);
}

void TFormCorvane::ApplyCommandStates(const TCommandStates& s)
{
    HMENU menu = GetMenu(window_);
    for (const TCommand& command : Commands())
        if (command.enabledBy)
            EnableCommandItem(menu, command.id, CommandEnabled(command.id, s));
    buttons_.ApplyCommandStates(s);
    library_.ApplyCommandStates(s);
    editor_.ApplyCommandStates(s);
}

} // namespace corvane::win32
