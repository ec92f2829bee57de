#pragma once
// Resource numbers of Corvane.exe.
#define IDI_CORVANE 1
#define IDI_FOLDER 2
#define IDI_REPLY 3
#define IDI_ADD_FOLDER 4
#define IDI_ADD_REPLY 5
#define IDI_DELETE 6
#define IDI_SAVE_ALL 7
#define IDI_COPY_ENTIRE 8
#define IDI_PASTE_LAST 9
#define IDI_FOLDER_OPEN 11
#define IDI_REPLY_SELECTED 12
#define IDI_TEAM_LIBRARY 13
#define IDI_TEAM_OFFLINE 14
#define IDI_REPLY_CONFLICT 15
#define IDC_REPLY_DROP 10005
