#pragma once
// The desktop and the clock as the engine sees them, on the real system.
#include <windows.h>

#include <string>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "win32/Handles.h"
#include "win32/HtSysHookUtils.h"
#include "win32/Win32KeyboardLayouts.h"
#include "win32/PasswordFocus.h"

namespace corvane::win32 {

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }

// The mandatory integrity level of a process's token; -1 when it cannot be read.
inline long IntegrityLevelOf(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return -1;
    long level = -1;
    alignas(TOKEN_MANDATORY_LABEL) unsigned char buffer[64] = {};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
        level = static_cast<long>(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u));
    }
    CloseHandle(token);
    return level;
}

class Win32Desktop final : public IDesktop {
public:
    bool KeyDown(int virtualKey) const override { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
    WindowId ForegroundWindow() const override { return ToWindowId(GetForegroundWindow()); }
    WindowId FocusWindow() const override
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
        return thread != 0 && GetGUIThreadInfo(thread, &info) ? ToWindowId(info.hwndFocus) : 0;
    }
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
    TWindowFacts FactsOf(WindowId window) const override
    {
        const HWND hwnd = ToHwnd(window);
        char className[256] = {};
        GetClassNameA(hwnd, className, sizeof className);
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        return {ToWindowId(GetAncestor(hwnd, GA_ROOTOWNER)), className,
            (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0, process == GetCurrentProcessId(),
            static_cast<std::uint32_t>(process)};
    }
    bool FocusHidesTyping() const override { return FocusReportedAsPassword(); }
    void SendKey(int virtualKey, bool release) override { SendMarkedKey(virtualKey, release); }
    void SendKeys(std::span<const TKeyEvent> keys) override { SendMarkedKeys(keys); }
    std::string ElevatedProgramOf(WindowId window) const override
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(ToHwnd(window), &processId);
        HANDLE process = processId ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr;
        if (!process)
            return {};
        // A token this program may not even read belongs to a program of more rights.
        const long level = IntegrityLevelOf(process);
        const bool higher = level < 0 || level > IntegrityLevelOf(GetCurrentProcess());
        char path[MAX_PATH] = {};
        DWORD length = MAX_PATH;
        if (!higher || !QueryFullProcessImageNameA(process, 0, path, &length))
            length = 0;
        CloseHandle(process);
        const std::string file(path, length);
        return file.substr(file.find_last_of("\\/") + 1);
    }
    TKeyTranslation TranslateKey(int virtualKey, int scanCode, const TModifiers& modifiers) const override
    {
        const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
        if (!layout)
            return {};
        const TKeyState state = KeyStateWith(modifiers);
        WCHAR out[8] = {};
        const int n = ToUnicodeEx(static_cast<UINT>(virtualKey), static_cast<UINT>(scanCode), state.data(), out, 8,
            KeepKeyboardState, layout);
        if (n < 0)
            return {TKeyTranslation::Kind::DeadKey};
        if (n == 0)
            return {TKeyTranslation::Kind::None};
        return {TKeyTranslation::Kind::Character, static_cast<char16_t>(out[n - 1])};
    }
    std::size_t TypeCharacters(std::u16string_view text) override
    {
        const std::wstring wide(text.begin(), text.end());
        return SendMarkedCharacters(wide.data(), static_cast<UINT>(wide.size()));
    }
    std::u16string ClipboardText() const override
    {
        std::u16string text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
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
    std::uint64_t Milliseconds() const override { return GetTickCount64(); }
};

} // namespace corvane::win32
