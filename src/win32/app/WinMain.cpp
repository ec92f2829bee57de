// Process entry: paths, single instance, main window, message loop.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "library/UnitCommonProcs.h"
#include "platform/Trace.h"
#include "shell/UnitGlobalParams.h"
#include "shell/UnitStartup.h"
#include "win32/Handles.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32MessageBoxes.h"
#include "win32/Win32Registry.h"
#include "win32/app/Cursors.h"
#include "win32/app/FormCorvane.h"

using namespace corvane;

namespace {

std::string OwnModulePath()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

win32::UniqueFileHandle& TraceFile()
{
    static win32::UniqueFileHandle file;
    return file;
}

// A step's time on the performance counter, in milliseconds: the counter
// every program reads alike, so other programs' times line up with it.
void WriteTraceStep(const char* step)
{
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    char line[200];
    const int n = std::snprintf(line, sizeof line, "%.3f %s\r\n",
        1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart), step);
    static std::mutex writing; // the receiver thread traces too
    const std::lock_guard lock(writing);
    DWORD written = 0;
    WriteFile(TraceFile().Get(), line, static_cast<DWORD>(n), &written, nullptr);
}

// For the figures tools only: CORVANE_TRACE names the file the steps go to.
void InstallTraceFromEnvironment()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("CORVANE_TRACE", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    TraceFile().Reset(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (TraceFile())
        TraceSink() = &WriteTraceStep;
}

std::optional<std::string> ApplicationDataFolder()
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::nullopt;
    return std::string(path);
}

std::vector<std::string> ArgumentsWithoutProgram()
{
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.emplace_back(__argv[i]);
    return args;
}

// False when another instance runs. The mutex stays open for the life of the
// process; the system drops it when the process ends.
bool ClaimSingleInstance()
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kSingleInstanceMutexName);
    return !(mutex && GetLastError() == ERROR_ALREADY_EXISTS);
}

int RunMessageLoop(win32::TFormCorvane& form)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!form.TranslateShortcut(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            form.IdleUpdate();
    }
    return static_cast<int>(msg.wParam);
}

// OLE for this thread, for the life of the process's windows.
class OleSession {
public:
    OleSession() : ready_(SUCCEEDED(OleInitialize(nullptr))) { }
    ~OleSession()
    {
        if (ready_)
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ready_;
};

class CursorSlotsScope {
public:
    explicit CursorSlotsScope(HINSTANCE instance) { win32::RegisterCursorSlots(instance); }
    ~CursorSlotsScope() { win32::ReleaseCursorSlots(); }
    CursorSlotsScope(const CursorSlotsScope&) = delete;
    CursorSlotsScope& operator=(const CursorSlotsScope&) = delete;
};

// The program's one set of message boxes, installed for the library, the
// editing and the hooks while it exists.
class InstalledMessageBoxes : public win32::Win32MessageBoxes {
public:
    InstalledMessageBoxes() { SetMessageBoxes(this); }
    ~InstalledMessageBoxes() override { SetMessageBoxes(nullptr); }
    InstalledMessageBoxes(const InstalledMessageBoxes&) = delete;
    InstalledMessageBoxes& operator=(const InstalledMessageBoxes&) = delete;
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InstallTraceFromEnvironment();
    TraceStep("start: program entered");
    win32::Win32FileSystem fileSystem;
    GlobalParams() = PrepareGlobalParams(OwnModulePath(), ApplicationDataFolder(), fileSystem);
    win32::Win32Registry registry;
    if (!ClaimSingleInstance())
        return 0;
    const CursorSlotsScope cursors(instance);

    // The shell's document opening and the rich-text editor's clipboard and
    // drag and drop want OLE on this thread.
    const OleSession ole;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    InstalledMessageBoxes messageBoxes;

    win32::TFormCorvane form(instance, fileSystem, registry, messageBoxes);
    if (!form.Create())
        return 1;
    messageBoxes.SetOwner(form.Handle());
    if (IsHiddenStart(ArgumentsWithoutProgram()))
        form.ShowAndClose();
    else
        form.Show();
    TraceStep("start: window shown");

    const int exitCode = RunMessageLoop(form);
    form.Destroy();
    return exitCode;
}
