#include "win32/PasswordFocus.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <objbase.h>
#include <oleauto.h>

#include "win32/Handles.h"

namespace corvane::win32 {

namespace {

// The few members of the automation client asked here, in their interfaces'
// order; the system's headers of this tool chain do not declare them.
struct IAutomationElement : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirst(int, void*, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll(int, void*, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(int, void*, void*, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(int, void*, void*, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(void*, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(int propertyId, VARIANT* value) = 0;
};

struct IAutomation : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CompareElements(void*, void*, BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(void*, void*, BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IAutomationElement** element) = 0;
};

constexpr CLSID ClsidAutomation = {0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr IID IidAutomation = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
constexpr int IsPasswordProperty = 30019;

enum FocusState : int { NotPassword, Password, Pending };

std::atomic<int> g_state{NotPassword};
IAutomation* g_automation = nullptr; // used on the watcher's thread only

bool FocusedElementIsPassword()
{
    IAutomationElement* element = nullptr;
    const HRESULT asked = g_automation->GetFocusedElement(&element);
    if (FAILED(asked) || !element)
        return false;
    VARIANT value;
    VariantInit(&value);
    const bool password = SUCCEEDED(element->GetCurrentPropertyValue(IsPasswordProperty, &value)) && value.vt == VT_BOOL
        && value.boolVal != VARIANT_FALSE;
    VariantClear(&value);
    element->Release();
    return password;
}

std::mutex g_listenerMutex;
std::function<void(bool)> g_listener; // under the mutex, called under it too

void SetState(FocusState next)
{
    const bool password = next != NotPassword;
    if ((g_state.exchange(next) != NotPassword) == password)
        return;
    const std::lock_guard lock(g_listenerMutex);
    if (g_listener)
        g_listener(password);
}

void CALLBACK FocusChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD)
{
    SetState(Pending);
    SetState(FocusedElementIsPassword() ? Password : NotPassword);
}

DWORD WINAPI WatchFocus(void*) noexcept
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 0;
    if (SUCCEEDED(CoCreateInstance(
            ClsidAutomation, nullptr, CLSCTX_INPROC_SERVER, IidAutomation, reinterpret_cast<void**>(&g_automation)))
        && g_automation) {
        const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, FocusChanged, 0, 0,
            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        MSG msg;
        while (hook && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
    }
    CoUninitialize();
    return 0;
}

void StartWatcher()
{
    // Lives as long as the program; the system ends it with the process.
    static const UniqueKernelHandle watcher(CreateThread(nullptr, 0, WatchFocus, nullptr, 0, nullptr));
}

} // namespace

bool FocusReportedAsPassword()
{
    StartWatcher();
    return g_state != NotPassword;
}

void WatchPasswordFocus(std::function<void(bool password)> changed)
{
    {
        const std::lock_guard lock(g_listenerMutex);
        g_listener = std::move(changed);
        if (g_listener)
            g_listener(g_state != NotPassword);
    }
    StartWatcher();
}

} // namespace corvane::win32
