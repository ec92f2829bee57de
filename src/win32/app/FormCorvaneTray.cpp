// Main window: the tray icon and its menu.
#include "win32/app/FormCorvaneAdapters.h"

#include <shellapi.h>

#include "library/UnitCorvaneTypes.h"
#include "win32/HtSysHookUtils.h"
#include "win32/MenuItems.h"
#include "win32/TreeViewControl.h"
#include "win32/app/CommandIds.h"
#include "win32/app/PrivateMessages.h"

namespace corvane::win32 {

namespace {
constexpr UINT kTrayIconId = 1;
}

void TFormCorvane::AddTrayIcon()
{
    if (trayIconAdded_)
        return;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = smallIcon_.Get();
    lstrcpynA(data.szTip, TrayTip(engine_ && engine_->Paused()).c_str(), sizeof(data.szTip));
    trayIconAdded_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void TFormCorvane::TogglePause()
{
    engine_->SetPaused(!engine_->Paused());
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, TrayTip(engine_->Paused()).c_str(), sizeof(data.szTip));
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void TFormCorvane::RemoveTrayIcon()
{
    if (!trayIconAdded_)
        return;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    trayIconAdded_ = false;
}

void TFormCorvane::OnTrayNotify(LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        if (TrayLeftClickShowsWindow(IsWindowVisible(window_) != FALSE)) {
            Show(); // applies Always on Top, as every show does
            if (IsIconic(window_))
                ShowWindow(window_, SW_RESTORE);
        }
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        ShowTrayMenu();
        break;
    default:
        break;
    }
}

void TFormCorvane::ShowTrayMenu()
{
    trayMenu_.Reset(CreatePopupMenu());
    HMENU menu = trayMenu_.Get();
    IdleUpdate();
    const TRep* selected = SelectedRep();
    const std::string name = selected ? tree_->Label(selected->Node) : std::string();
    AppendCommands(menu, TrayMenuItems());
    ModifyMenuA(
        menu, CmdTrayInsert, MF_BYCOMMAND | MF_STRING, CmdTrayInsert, TrayInsertCaption(SelectedKind(), name).c_str());
    EnableCommands(menu, TrayMenuItems(), commandStates_);
    CheckMenuItem(menu, CmdTrayPause, MF_BYCOMMAND | (engine_->Paused() ? MF_CHECKED : MF_UNCHECKED));
    POINT at{};
    GetCursorPos(&at);
    // The owner must be foreground, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(window_);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, window_, nullptr);
    PostMessageA(window_, WM_NULL, 0, 0);
}

void TFormCorvane::ShowFromTray()
{
    const HWND previous = foregroundAtTick_;
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    Show();
    // The foreground belongs to another application; joining its input
    // thread lets the program take it.
    ForceForeground(previous, window_);
}

} // namespace corvane::win32
