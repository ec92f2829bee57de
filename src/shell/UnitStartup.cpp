#include "shell/UnitStartup.h"

namespace corvane {

bool IsHiddenStart(const std::vector<std::string>& argsWithoutProgram)
{
    return !argsWithoutProgram.empty() && argsWithoutProgram.front() == kHiddenSwitch;
}

} // namespace corvane
