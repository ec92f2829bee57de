#include "shell/UnitStartup.h"

#include "library/UnitCommonProcs.h"

#include <exception>

namespace corvane {

bool IsHiddenStart(const std::vector<std::string>& argsWithoutProgram)
{
    return !argsWithoutProgram.empty() && argsWithoutProgram.front() == kHiddenSwitch;
}

void RunMainWindowCreation(IMainWindowCreation& window)
{
    window.ArmTipTimer();
    try {
        window.RunCreationHandler();
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

} // namespace corvane
