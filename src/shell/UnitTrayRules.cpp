#include "shell/UnitTrayRules.h"

namespace corvane {

std::string TrayInsertCaption(SelectedNode selected, const std::string& replyName)
{
    if (selected != SelectedNode::Reply)
        return "Insert the selected reply into the current window [Hotkey: Ctrl+Shift+V]";
    return "Insert the selected reply(" + replyName + ") into the current window [Hotkey: Ctrl+Shift+V]";
}

bool TrayLeftClickShowsWindow(bool windowVisible) { return !windowVisible; }

void AppDeactivated(IEngineArming& engine)
{
    engine.SetFixTimerEnabled(true);
    engine.SetAppInactive(true);
    engine.CommitEdits();
}

void AppActivated(IEngineArming& engine)
{
    engine.SetFixTimerEnabled(false);
    engine.SetAppInactive(false);
}

} // namespace corvane
