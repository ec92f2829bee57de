#include "win32/HookHost32Process.h"

#include <windows.h>

#include "hooks/HookHost32.h"

namespace corvane::win32 {

bool WindowsIs64Bit()
{
    if (sizeof(void*) == 8)
        return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool HookHost32Process::Start(const std::string& path)
{
    End();
    if (path.empty())
        return false;
    std::string commandLine = HookHost32CommandLine(path, GetCurrentProcessId());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
            &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    thread_ = info.dwThreadId;
    return true;
}

void HookHost32Process::End()
{
    if (!process_)
        return;
    PostThreadMessageA(thread_, WM_QUIT, 0, 0);
    if (WaitForSingleObject(process_, HookHost32EndWaitMs) != WAIT_OBJECT_0)
        TerminateProcess(process_, 1);
    CloseHandle(process_);
    process_ = nullptr;
    thread_ = 0;
}

} // namespace corvane::win32
