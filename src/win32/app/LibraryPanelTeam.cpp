// The library panel's team library beside the user's own.
#include "win32/app/LibraryPanel.h"

#include <shlobj.h>

#include <chrono>

#include "editing/TeamLibrary.h"
#include "library/SharedWatch.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitSettings.h"
#include "win32/FolderWatcher.h"
#include "win32/app/PrivateMessages.h"

namespace corvane::win32 {

namespace {

// %LOCALAPPDATA%\Corvane 2\TeamCache: the copy last read from the team
// folder stays on this computer, never in a roaming profile.
std::string TeamCacheFolder()
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return std::string(path) + "\\Corvane 2\\TeamCache";
}

long long MillisecondsSince1970()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

void LibraryPanel::LoadTeamLibrary(HWND window, IRegistry& registry)
{
    teamWindow_ = window;
    registry_ = &registry;
    if (!team_)
        team_ = std::make_unique<TTeamLibrary>(*library_, *editing_, *watch_);
    const TSharedLibrarySetting setting = ReadSharedLibrarySetting(registry);
    team_->Load({setting.folder, setting.name, TeamCacheFolder()}, MillisecondsSince1970());
    KillTimer(window, kTeamTimerId);
    teamFolderWatcher_.reset();
    if (!setting.folder.empty()) {
        SetTimer(window, kTeamTimerId, kTeamTimerInterval, nullptr);
        teamFolderWatcher_ = std::make_unique<FolderWatcher>(setting.folder, window, WM_TEAM_FOLDER_CHANGED);
    }
    TellTeamConflicts();
}

void LibraryPanel::LookAtTeamFolder()
{
    // Not while a modal box, a label edit or a drag is open: a reload would
    // take their nodes from under them. The next tick looks again.
    if (!team_ || !IsWindowEnabled(teamWindow_) || TreeView_GetEditControl(navigation_) || GetCapture())
        return;
    team_->Tick();
    TellTeamConflicts();
    // The team folder's picture follows its access.
    InvalidateRect(navigation_, nullptr, FALSE);
}

void LibraryPanel::TellTeamConflicts()
{
    std::string told = SettingsReadString(*registry_, RegRoot::CurrentUser, kProgramKey, kSharedLibraryConflicts);
    const std::string notice = team_->TakeConflictNotice(told);
    if (notice.empty())
        return;
    (void)SettingsWriteString(*registry_, RegRoot::CurrentUser, kProgramKey, kSharedLibraryConflicts, told);
    ShowInfo(notice);
}

} // namespace corvane::win32
