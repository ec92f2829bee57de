#pragma once
// Decisions taken while the process starts.
#include <string>
#include <vector>

namespace corvane {

inline constexpr const char* kSingleInstanceMutexName = "Corvane2Mutex";
inline constexpr const char* kHiddenSwitch = "-hidden";

// True when the first argument (after the program name) is exactly "-hidden";
// further arguments do not matter.
bool IsHiddenStart(const std::vector<std::string>& argsWithoutProgram);

// What making the main window does around its creation handler.
class IMainWindowCreation {
public:
    virtual ~IMainWindowCreation() = default;
    virtual void ArmTipTimer() = 0;
    // The creation handler's steps, in order; a failing step throws.
    virtual void RunCreationHandler() = 0;
};

// Arms the start-up tip's timer on its own, so that no failing step of the
// creation handler can keep the tip away; an error ends the handler at its
// step and is shown, and start-up goes on.
void RunMainWindowCreation(IMainWindowCreation& window);

} // namespace corvane
