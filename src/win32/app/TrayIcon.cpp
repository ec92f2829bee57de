// The tray icon and its menu.
#include "win32/app/TrayIcon.h"

#include <shellapi.h>

#include "library/Texts.h"
#include "shell/UnitTrayRules.h"
#include "win32/MenuItems.h"
#include "win32/app/CommandIds.h"
#include "win32/app/PrivateMessages.h"

namespace corvane::win32 {

namespace {

constexpr UINT kTrayIconId = 1;

// What every call about this window's icon starts from.
NOTIFYICONDATAA IconData(HWND window, UINT flags)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    return data;
}

} // namespace

TrayIcon::TrayIcon(const Window& window)
    : window_(window), taskbarCreatedMessage_(RegisterWindowMessageA("TaskbarCreated"))
{ }

void TrayIcon::Add()
{
    if (added_)
        return;
    NOTIFYICONDATAA data = IconData(window_.handle, NIF_ICON | NIF_MESSAGE | NIF_TIP);
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = window_.icon;
    lstrcpynA(data.szTip, TrayTip(paused_).c_str(), sizeof(data.szTip));
    added_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void TrayIcon::SetPaused(bool paused)
{
    paused_ = paused;
    if (!added_)
        return;
    NOTIFYICONDATAA data = IconData(window_.handle, NIF_TIP);
    lstrcpynA(data.szTip, TrayTip(paused_).c_str(), sizeof(data.szTip));
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void TrayIcon::ShowBalloon(const char* text)
{
    if (!added_)
        return;
    NOTIFYICONDATAA data = IconData(window_.handle, NIF_INFO);
    data.dwInfoFlags = NIIF_WARNING;
    lstrcpynA(data.szInfoTitle, kTrayHint, sizeof(data.szInfoTitle));
    lstrcpynA(data.szInfo, text, sizeof(data.szInfo));
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void TrayIcon::Remove()
{
    if (!added_)
        return;
    NOTIFYICONDATAA data = IconData(window_.handle, 0);
    Shell_NotifyIconA(NIM_DELETE, &data);
    added_ = false;
}

bool TrayIcon::OnShellRestart(UINT msg)
{
    if (taskbarCreatedMessage_ == 0 || msg != taskbarCreatedMessage_)
        return false;
    added_ = false;
    Add();
    return true;
}

void TrayIcon::OnNotify(LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        if (TrayLeftClickShowsWindow(IsWindowVisible(window_.handle) != FALSE))
            window_.show();
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        ShowMenu();
        break;
    default:
        break;
    }
}

void TrayIcon::ShowMenu()
{
    menu_.Reset(CreatePopupMenu());
    HMENU menu = menu_.Get();
    const MenuState state = window_.menuState();
    AppendCommands(menu, TrayMenuItems());
    ModifyMenuA(menu, CmdTrayInsert, MF_BYCOMMAND | MF_STRING, CmdTrayInsert,
        TrayInsertCaption(state.selected, state.replyName).c_str());
    EnableCommands(menu, TrayMenuItems(), state.states);
    CheckMenuItem(menu, CmdTrayPause, MF_BYCOMMAND | (state.paused ? MF_CHECKED : MF_UNCHECKED));
    POINT at{};
    GetCursorPos(&at);
    // The owner must be foreground, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(window_.handle);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, window_.handle, nullptr);
    PostMessageA(window_.handle, WM_NULL, 0, 0);
}

} // namespace corvane::win32
