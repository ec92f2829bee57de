#include "shell/UnitStartup.h"

namespace corvane {

bool IsHiddenStart(const std::vector<std::string>& argsWithoutProgram)
{
    return !argsWithoutProgram.empty() && argsWithoutProgram.front() == kHiddenSwitch;
}

std::string RootIndexPath(const std::string& dataDir) { return dataDir + "Replies\\index.sub"; }

} // namespace corvane
