#pragma once
// The tray icon's rules, and what the program's activation switches.
#include "library/Texts.h"
#include "shell/UnitIdleUpdate.h"

#include <string>

namespace corvane {

// The icon's tip says when nothing is being recognised.
std::string TrayTip(bool paused);

// The insert item names the selected reply; with a folder or nothing selected
// it does not.
std::string TrayInsertCaption(SelectedNode selected, const std::string& replyName);

// A left click shows a hidden window and never hides a visible one.
bool TrayLeftClickShowsWindow(bool windowVisible);

// What the activation handlers switch; the engine owns them.
class IEngineArming {
public:
    virtual ~IEngineArming() = default;
    virtual void SetFixTimerEnabled(bool enabled) = 0;
    virtual void SetAppInactive(bool inactive) = 0;
    virtual void CommitEdits() = 0;
};

// Another application became active: the engine starts acting on typing.
void AppDeactivated(IEngineArming& engine);
// The program became active again.
void AppActivated(IEngineArming& engine);

} // namespace corvane
