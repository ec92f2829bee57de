#pragma once
// The program's private window messages.
#include <windows.h>

namespace corvane::win32 {

// The tray icon's callback: lParam is the mouse message.
inline constexpr UINT WM_TRAY_NOTIFY = WM_APP + 1;
// Something changed in the team library's folder (FolderWatcher).
inline constexpr UINT WM_TEAM_FOLDER_CHANGED = WM_APP + 2;
// The team library's exchange published a new snapshot (TTeamSync's thread).
inline constexpr UINT WM_TEAM_PUBLISHED = WM_APP + 3;
// The library's files are read (LibraryPanel's reader thread).
inline constexpr UINT WM_LIBRARY_READ = WM_APP + 4;
// The library is in: what the start left until then is done (FinishStart).
inline constexpr UINT WM_FINISH_START = WM_APP + 5;

} // namespace corvane::win32
