#pragma once
// The paths object: where the program lives and where the user's data lives.
#include <optional>
#include <string>

namespace corvane {

class IFileSystem;

struct TGlobalParams {
    std::string ProgramPath; // full path of the running program file
    std::string ProgramDir; // its folder, ending with "\"
    std::string DataDir; // per-user data folder, ending with "\"

    std::string ProgramDirFile(const std::string& name) const { return ProgramDir + name; }
    std::string DataDirFile(const std::string& name) const { return DataDir + name; }
};

// Folder part of a path, up to and including the last "\" (or ":").
std::string DirectoryOf(const std::string& path);

// Builds the paths from the program's path and the user's application-data
// folder (nullopt when the shell could not give it), creates the data folder
// and moves a library left beside the program into it. Every file-system
// failure is ignored: a later library load reports what is missing.
TGlobalParams PrepareGlobalParams(
    const std::string& programPath, const std::optional<std::string>& appDataDir, IFileSystem& fs);

// The process's one paths object.
TGlobalParams& GlobalParams();

} // namespace corvane
