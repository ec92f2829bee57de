#pragma once
// The host of the hook library for 32-bit programs: a small 32-bit process
// beside Corvane.exe that Corvane starts when its own hooks run on 64-bit
// Windows. It sets the 32-bit library's hooks for the receivers Corvane has
// attached, so that 32-bit programs tell their keys from inside themselves,
// and it ends with the Corvane that started it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "hooks/HookLibrarySite.h"

namespace corvane {

constexpr char HookLibrary32FileName[] = "Tolvar32.dll";
constexpr char HookHost32FileName[] = "Tolvar32Host.exe";

// How often the host brings its receivers to Corvane's.
constexpr std::uint32_t HookHost32MirrorMs = 250;
// How long Corvane waits for the host to end when asked, before ending it.
constexpr std::uint32_t HookHost32EndWaitMs = 2000;

// The host beside the library of `site`, by its full path; empty when it is
// not to be started: the hooks were refused or did not start, or Windows is
// 32-bit (there every program takes the library Corvane loads).
[[nodiscard]] std::string HookHost32Path(const THookLibrarySite& site, bool hooksRunning, bool windowsIs64Bit);

// The command line Corvane starts the host with: its path, quoted, and the
// process it serves and ends with.
[[nodiscard]] std::string HookHost32CommandLine(const std::string& hostPath, std::uint32_t ownerProcess);

// The process named on a host's whole command line (as the system gives
// it, the program first); nothing for anything else.
[[nodiscard]] std::optional<std::uint32_t> OwnerOfHookHost32(std::string_view commandLine);

// The folder part of a full path, without the trailing backslash.
[[nodiscard]] std::string FolderOfPath(std::string_view path);

} // namespace corvane
