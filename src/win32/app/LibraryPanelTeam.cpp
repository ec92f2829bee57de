// The library panel's team library beside the user's own.
#include "win32/app/LibraryPanel.h"

#include <shlobj.h>

#include "editing/TeamLibrary.h"
#include "editing/TeamSync.h"
#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitSettings.h"
#include "win32/FolderWatcher.h"
#include "win32/Win32FileSystem.h"
#include "win32/app/PrivateMessages.h"

namespace corvane::win32 {

std::string LocalDataFolder()
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return std::string(path) + "\\Corvane 2";
}

namespace {

// %LOCALAPPDATA%\Corvane 2\TeamCopies: this computer's copy of each team
// folder stays on this computer, never in a roaming profile.
std::string TeamCopiesFolder()
{
    const std::string folder = LocalDataFolder();
    return folder.empty() ? folder : folder + "\\TeamCopies";
}

std::string ThisComputersName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size))
        return "Computer";
    return name;
}

} // namespace

void LibraryPanel::LoadTeamLibrary(HWND window, IRegistry& registry)
{
    teamWindow_ = window;
    registry_ = &registry;
    if (!teamSync_) {
        teamFs_ = std::make_unique<Win32FileSystem>();
        teamSync_ = std::make_unique<TTeamSync>(*teamFs_, *teamFs_, NewTeamEntryId);
    }
    if (!team_)
        team_ = std::make_unique<TTeamLibrary>(*library_, *editing_, *teamSync_);
    const TSharedLibrarySetting setting = ReadSharedLibrarySetting(registry);
    teamSync_->Stop();
    KillTimer(window, kTeamTimerId);
    teamFolderWatcher_.reset();
    team_->Load({setting.folder, setting.name});
    if (setting.folder.empty() || !library_->SharedTop())
        return;
    const std::string copies = TeamCopiesFolder();
    teamSync_->Start({setting.folder, TeamCopyFolder(copies, setting.folder), ThisComputersName()},
        kTeamExchangeInterval, [window] { PostMessageA(window, WM_TEAM_PUBLISHED, 0, 0); });
    // Snapshots held back while the user edits a team entry are shown from
    // the timer once the user has left the boxes.
    SetTimer(window, kTeamTimerId, kTeamTimerInterval, nullptr);
    teamFolderWatcher_ = std::make_unique<FolderWatcher>(setting.folder, window, WM_TEAM_FOLDER_CHANGED);
}

void LibraryPanel::TeamFolderChanged()
{
    if (teamSync_)
        teamSync_->LookNow();
}

void LibraryPanel::ShowTeamSnapshot()
{
    // Not while a modal box, a label edit or a drag is open: new nodes would
    // take theirs from under them. The timer tries again.
    if (!team_ || !IsWindowEnabled(teamWindow_) || TreeView_GetEditControl(navigation_) || GetCapture())
        return;
    const HWND focus = GetFocus();
    const bool focusInBoxes
        = focus && focus != navigation_ && focus != listMacros_ && focus != listHotKeys_ && IsChild(teamWindow_, focus);
    if (!team_->ShowLatest(focusInBoxes))
        return;
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
