#include "win32/HtSysHookHost.h"

#include <windows.h>

#include <exception>

#include "library/Texts.h"

namespace corvane::win32 {
namespace {

using AttachReceiverProc = std::int32_t(__stdcall*)(std::uint8_t, HWND, std::uint8_t);

class Win32ModuleApi : public IHookModuleApi {
public:
    std::uintptr_t OpenModule(const std::string& name) override
    {
        return reinterpret_cast<std::uintptr_t>(LoadLibraryA(name.c_str()));
    }
    std::int32_t LastErrorCode() override { return static_cast<std::int32_t>(GetLastError()); }
    void* FindExport(std::uintptr_t module, const char* name) override
    {
        return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
    }
    void ReleaseModule(std::uintptr_t module) override { FreeLibrary(reinterpret_cast<HMODULE>(module)); }
    std::int32_t CallAttach(void* proc, THtHookType type, std::uintptr_t window, bool filter) override
    {
        return reinterpret_cast<AttachReceiverProc>(proc)(type, reinterpret_cast<HWND>(window), filter ? 1 : 0);
    }
};

constexpr char ListenerClass[] = "CorvaneHookListener";

std::string SystemMessageText(std::int32_t code)
{
    char buffer[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    return std::string(buffer, n);
}

// Notifications go to the component; nothing thrown by an event handler may
// leave the window procedure.
LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* owner = reinterpret_cast<THtSysHook*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg < WM_USER || !owner)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        return static_cast<LRESULT>(owner->HandleMessage(msg, wParam, lParam));
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), kCaptionError, MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxA(nullptr, kHookHandlerError, kCaptionError, MB_OK | MB_ICONERROR);
    }
    return 0;
}

void RegisterListenerClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ListenerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = ListenerClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
}

class Win32HookHost : public IHtHookHost {
public:
    THtHookLoader& Loader() override { return loader_; }
    std::uintptr_t CreateListener(THtSysHook& owner) override
    {
        RegisterListenerClass();
        return reinterpret_cast<std::uintptr_t>(CreateWindowExA(
            0, ListenerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), &owner));
    }
    void DestroyListener(std::uintptr_t window) override { DestroyWindow(reinterpret_cast<HWND>(window)); }
    std::string SystemMessage(std::int32_t code) override { return SystemMessageText(code); }
    void ShowErrorBox(const std::string& text, const std::string& caption) override
    {
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
    void ReplyToSender(std::int64_t result) override { ReplyMessage(static_cast<LRESULT>(result)); }

private:
    Win32ModuleApi api_;
    THtHookLoader loader_{api_};
};

} // namespace

IHtHookHost& HookHost()
{
    static Win32HookHost host;
    return host;
}

std::string HookErrorTextOf(std::int32_t code) { return HookErrorText(code, SystemMessageText); }

} // namespace corvane::win32
