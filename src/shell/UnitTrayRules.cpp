#include "shell/UnitTrayRules.h"

#include <string_view>

namespace corvane {

std::string TrayInsertCaption(SelectedNode selected, const std::string& replyName)
{
    const std::string_view caption = kTrayInsertCaption;
    if (selected != SelectedNode::Reply)
        return std::string(caption);
    // The name follows the word directly, without a blank.
    constexpr std::string_view kNamed = "the selected reply";
    const std::size_t at = caption.find(kNamed) + kNamed.size();
    return std::string(caption.substr(0, at)) + "(" + replyName + ")" + std::string(caption.substr(at));
}

bool TrayLeftClickShowsWindow(bool windowVisible) { return !windowVisible; }

std::string TrayTip(bool paused) { return paused ? std::string(kTrayHint) + " (paused)" : std::string(kTrayHint); }

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
