#pragma once
// The tray icon and its menu; added again when the shell restarts.
#include <windows.h>

#include <functional>
#include <string>

#include "shell/UnitIdleUpdate.h"
#include "win32/Handles.h"

namespace corvane::win32 {

class TrayIcon {
public:
    // What the menu shows: the item that inserts the selected reply names it.
    struct MenuState {
        SelectedNode selected = SelectedNode::None;
        std::string replyName;
        TCommandStates states;
        bool paused = false;
    };
    struct Window {
        HWND handle;
        HICON icon;
        // A left click shows the window.
        std::function<void()> show;
        // The state of the commands, brought up to date.
        std::function<MenuState()> menuState;
    };

    explicit TrayIcon(const Window& window);
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void Add();
    void Remove();
    void OnNotify(LPARAM mouseMessage);
    // The tip says whether recognition is paused.
    void SetPaused(bool paused);
    // A notice in a balloon beside the icon, which takes neither focus nor keys.
    void ShowBalloon(const char* text);
    // True when `msg` told that the shell restarted; the icon is back.
    bool OnShellRestart(UINT msg);

private:
    void ShowMenu();

    Window window_;
    UINT taskbarCreatedMessage_ = 0;
    bool added_ = false;
    bool paused_ = false;
    UniqueMenu menu_;
};

} // namespace corvane::win32
