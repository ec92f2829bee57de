#pragma once
// The facts the hook library's site is decided on, read from the system:
// this program's folder, whether it runs elevated, and the security of the
// folder and of the library in it.
#include <string>

#include "hooks/HookLibrarySite.h"

namespace corvane::win32 {

// The folder of the running program, without the trailing backslash.
std::string ProgramFolder();
TElevation ElevationOfThisProcess();
TPathSecurity ReadPathSecurity(const std::string& path);

// HookLibrarySite over the facts of this program.
THookLibrarySite HookLibrarySiteOfThisProgram();

} // namespace corvane::win32
