#pragma once
// The desktop and the clock as the engine sees them, on the real system.
#include <windows.h>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "win32/Handles.h"

namespace corvane::win32 {

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }

class Win32Desktop final : public IDesktop {
public:
    bool KeyDown(int virtualKey) const override { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
    WindowId ForegroundWindow() const override { return ToWindowId(GetForegroundWindow()); }
    bool IsWindow(WindowId window) const override { return window != 0 && ::IsWindow(ToHwnd(window)); }
    std::string ProgramFileOf(WindowId window) const override
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(ToHwnd(window), &processId);
        if (processId == 0 || processId == GetCurrentProcessId())
            return {};
        const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        char path[MAX_PATH] = {};
        DWORD size = sizeof path;
        if (!process || !QueryFullProcessImageNameA(process.Get(), 0, path, &size))
            return {};
        return std::string(path, size);
    }
    void SendKey(int virtualKey, bool release) override
    {
        keybd_event(static_cast<BYTE>(virtualKey), 0, release ? KEYEVENTF_KEYUP : 0, 0);
    }
    void SetForeground(WindowId window) override { SetForegroundWindow(ToHwnd(window)); }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
    void ClickAtPointer() override
    {
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
};

class Win32Clock final : public IClock {
public:
    TLocalTime Now() const override
    {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
};

} // namespace corvane::win32
