#include "shell/UnitGlobalParams.h"

#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "platform/FileSystem.h"

namespace corvane {

namespace {

const char* const kDataFolderName = "Corvane 2";

std::string WithTrailingBackslash(std::string dir)
{
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    return dir;
}

// An old installation kept its library beside the program; the data folder is
// its home now. When both exist, only an empty leftover is removed.
void MoveOldLibrary(const TGlobalParams& params, IFileSystem& fs)
{
    if (SameTextIgnoringCase(params.DataDir, params.ProgramDir))
        return;
    const std::string oldLibrary = params.ProgramDirFile(kLibraryFolder);
    const std::string newLibrary = params.DataDirFile(kLibraryFolder);
    if (!fs.DirExists(newLibrary) && fs.DirExists(oldLibrary))
        fs.Rename(oldLibrary, newLibrary);
    fs.RemoveDir(oldLibrary);
}

} // namespace

std::string DirectoryOf(const std::string& path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

TGlobalParams PrepareGlobalParams(
    const std::string& programPath, const std::optional<std::string>& appDataDir, IFileSystem& fs)
{
    TGlobalParams params;
    params.ProgramPath = programPath;
    params.ProgramDir = DirectoryOf(programPath);
    params.DataDir
        = appDataDir ? WithTrailingBackslash(WithTrailingBackslash(*appDataDir) + kDataFolderName) : params.ProgramDir;
    fs.CreateDirs(params.DataDir.substr(0, params.DataDir.size() - 1));
    MoveOldLibrary(params, fs);
    return params;
}

TGlobalParams& GlobalParams()
{
    static TGlobalParams params;
    return params;
}

} // namespace corvane
