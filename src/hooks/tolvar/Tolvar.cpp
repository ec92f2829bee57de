// The hook library: global shell, keyboard, mouse and CBT hooks whose events
// are passed as window messages to the receiver windows registered in a
// shared table per hook type. Mapped into every hooked GUI process, so nothing
// here may fault on what another process left in shared memory, and nothing
// here links the C++ runtime library: no heap, no exceptions, no static
// constructors or destructors. DllMain is the entry point; what lives for the
// life of the module is built and torn down there.
#include <windows.h>

#include <cstdint>
#include <new>

#include "hooks/HtSysHookCommon.h"
#include "hooks/tolvar/HtReceiverTable.h"

namespace corvane::tolvar {
namespace {

HINSTANCE g_instance = nullptr;

constexpr DWORD FilterTimeoutMs = 5000;

// Handles travel through shared memory as their low 32 bits; the system
// keeps user handles valid across 32/64-bit processes in that form.
HWND ToWindow(std::uint32_t w) { return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(w))); }
HHOOK ToHook(std::uint32_t h) { return reinterpret_cast<HHOOK>(static_cast<intptr_t>(static_cast<int32_t>(h))); }
std::uint32_t FromHandle(const void* h) { return static_cast<std::uint32_t>(reinterpret_cast<uintptr_t>(h)); }

class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE h) : handle_(h) { }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    void reset(HANDLE h)
    {
        if (handle_)
            CloseHandle(handle_);
        handle_ = h;
    }

private:
    HANDLE handle_ = nullptr;
};

class MappedView {
public:
    MappedView() = default;
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    ~MappedView()
    {
        if (view_)
            UnmapViewOfFile(view_);
    }
    void reset(void* v)
    {
        if (view_)
            UnmapViewOfFile(view_);
        view_ = v;
    }
    THtSharedHookBlock* block() const { return static_cast<THtSharedHookBlock*>(view_); }

private:
    void* view_ = nullptr;
};

// An abandoned mutex (its owner died) is taken like any other.
class MutexLock {
public:
    explicit MutexLock(HANDLE m) : mutex_(m) { WaitForSingleObject(mutex_, INFINITE); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;
    ~MutexLock() { ReleaseMutex(mutex_); }

private:
    HANDLE mutex_;
};

// The system calls the table operations need.
struct Win32Sys {
    int hookId;
    HOOKPROC proc;
    bool WindowExists(std::uint32_t w) const { return IsWindow(ToWindow(w)) != FALSE; }
    std::uint32_t SetHook() const { return FromHandle(SetWindowsHookExA(hookId, proc, g_instance, 0)); }
    bool Unhook(std::uint32_t h) const { return UnhookWindowsHookEx(ToHook(h)) != FALSE; }
    std::int32_t LastErrorCode() const { return static_cast<std::int32_t>(GetLastError()); }
};

class THtHookWrapper {
public:
    THtHookWrapper(const THookObjectName& base, int hookId, HOOKPROC proc);
    THtHookWrapper(const THtHookWrapper&) = delete;
    THtHookWrapper& operator=(const THtHookWrapper&) = delete;
    ~THtHookWrapper();

    std::int32_t Attach(HWND window, bool filter);
    std::int32_t Detach(HWND window);
    LRESULT Notify(int nCode, WPARAM wParam, LPARAM lParam, const std::optional<Notice>& notice);
    std::int32_t CreateError() const { return CreateError_; }

private:
    std::int32_t Broadcast(const Notice& notice);
    LRESULT CallNext(int nCode, WPARAM wParam, LPARAM lParam) const;
    Win32Sys Sys() const { return Win32Sys{HookId_, HookProc_}; }

    KernelHandle Mutex_;
    std::int32_t CreateError_ = 0;
    KernelHandle Mapping_;
    THtReceiverList LocalReceivers_{};
    MappedView View_;
    THtSharedHookBlock* Shared_ = nullptr;
    int HookId_;
    HOOKPROC HookProc_;
};

THtHookWrapper::THtHookWrapper(const THookObjectName& base, int hookId, HOOKPROC proc)
    : HookId_(hookId), HookProc_(proc)
{
    LocalReceivers_.Count = 0;
    THookObjectName mutexName = base;
    THookObjectName sharedName = base;
    if (!AppendToName(mutexName, "Mutex") || !AppendToName(sharedName, "Shared")) {
        CreateError_ = ERROR_FILENAME_EXCED_RANGE;
        return;
    }
    Mutex_.reset(CreateMutexA(nullptr, TRUE, mutexName.Text));
    if (!Mutex_.get()) {
        CreateError_ = static_cast<std::int32_t>(GetLastError());
        return;
    }
    // Owned only when this call created the mutex; releasing is harmless otherwise.
    struct ReleaseAtEnd {
        HANDLE m;
        ~ReleaseAtEnd() { ReleaseMutex(m); }
    } release{Mutex_.get()};

    Mapping_.reset(CreateFileMappingA(
        INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(THtSharedHookBlock), sharedName.Text));
    if (!Mapping_.get()) {
        CreateError_ = static_cast<std::int32_t>(GetLastError());
        return;
    }
    const bool isNew = GetLastError() == 0;
    View_.reset(MapViewOfFile(Mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(THtSharedHookBlock)));
    if (!View_.block()) {
        CreateError_ = static_cast<std::int32_t>(GetLastError());
        return;
    }
    if (isNew)
        ZeroMemory(View_.block(), sizeof(THtSharedHookBlock));
    Shared_ = View_.block();
}

THtHookWrapper::~THtHookWrapper()
{
    for (std::int32_t i = ValidCount(LocalReceivers_) - 1; i >= 0; --i)
        Detach(ToWindow(LocalReceivers_.Items[i].Window));
}

std::int32_t THtHookWrapper::Attach(HWND window, bool filter)
{
    if (!Shared_)
        return 0;
    MutexLock lock(Mutex_.get());
    Win32Sys sys = Sys();
    return AttachTo(*Shared_, LocalReceivers_, FromHandle(window), filter, sys);
}

std::int32_t THtHookWrapper::Detach(HWND window)
{
    if (!Shared_)
        return 0;
    MutexLock lock(Mutex_.get());
    Win32Sys sys = Sys();
    return DetachFrom(*Shared_, LocalReceivers_, FromHandle(window), sys);
}

std::int32_t THtHookWrapper::Broadcast(const Notice& notice)
{
    const UINT message = htNotifyBase + notice.Code;
    const auto wParam = static_cast<WPARAM>(notice.WParam);
    const auto lParam = static_cast<LPARAM>(notice.LParam);
    return BroadcastTo(Shared_->Receivers, [&](const THtReceiver& r) -> Delivery {
        const HWND w = ToWindow(r.Window);
        if (r.Filter != 0) {
            DWORD_PTR reply = 0;
            if (SendMessageTimeoutA(w, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG, FilterTimeoutMs, &reply)
                == 0)
                return {false, 0};
            return {true, static_cast<std::int32_t>(reply)};
        }
        if (PostMessageA(w, message, wParam, lParam))
            return {true, 0};
        return {GetLastError() != ERROR_INVALID_WINDOW_HANDLE, 0};
    });
}

LRESULT THtHookWrapper::CallNext(int nCode, WPARAM wParam, LPARAM lParam) const
{
    return CallNextHookEx(ToHook(Shared_->HookHandle), nCode, wParam, lParam);
}

LRESULT THtHookWrapper::Notify(int nCode, WPARAM wParam, LPARAM lParam, const std::optional<Notice>& notice)
{
    // Without its shared block the wrapper cannot notify, but the event still
    // belongs to the rest of the hook chain.
    if (!Shared_)
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    MutexLock lock(Mutex_.get());
    LRESULT result = notice ? Broadcast(*notice) : 0;
    const LRESULT next = CallNext(nCode, wParam, lParam);
    if (result == 0)
        result = next;
    return result;
}

LRESULT CALLBACK ShellHookProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CBTHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// An object built and destroyed by hand in storage of its own. Unlike
// std::optional it has no destructor, so a global of it needs no exit-time
// registration from the runtime library.
template <typename T> class InPlace {
public:
    template <typename... Args> void Emplace(Args&&... args)
    {
        Reset();
        object_ = ::new (static_cast<void*>(storage_)) T(static_cast<Args&&>(args)...);
    }
    void Reset()
    {
        if (object_)
            object_->~T();
        object_ = nullptr;
    }
    T* Get() const { return object_; }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
    T* object_ = nullptr;
};

// One wrapper per hook type, built when the library is loaded and freed in
// index order, as they were built, when it is released.
InPlace<THtHookWrapper> HookTable[HookTypeCount];

THtHookWrapper* WrapperOf(std::uint8_t hookType)
{
    const int index = hookType & 0x7F;
    return index < HookTypeCount ? HookTable[index].Get() : nullptr;
}

template <typename MakeNotice>
LRESULT RunHook(THtHookType type, int nCode, WPARAM wParam, LPARAM lParam, MakeNotice makeNotice)
{
    THtHookWrapper* w = WrapperOf(type);
    if (!w)
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    return w->Notify(nCode, wParam, lParam, makeNotice());
}

LRESULT CALLBACK ShellHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return RunHook(hkShell, nCode, wParam, lParam, [&] { return ShellNotice(nCode, wParam, lParam); });
}

TKeyContext KeyContextOfThisThread()
{
    TKeyContext context{GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0, false};
    if (HWND focus = GetFocus()) {
        char className[32] = {};
        GetClassNameA(focus, className, sizeof className);
        context.PasswordField
            = IsPasswordField(className, static_cast<std::uint32_t>(GetWindowLongA(focus, GWL_STYLE)));
    }
    return context;
}

LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return RunHook(hkKeyboard, nCode, wParam, lParam,
        [&] { return KeyboardNotice(nCode, wParam, lParam, KeyContextOfThisThread()); });
}

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return RunHook(hkMouse, nCode, wParam, lParam, [&]() -> std::optional<Notice> {
        const auto* m = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (!m)
            return std::nullopt;
        return MouseNotice(nCode, wParam, m->pt.x, m->pt.y, reinterpret_cast<intptr_t>(m->hwnd));
    });
}

LRESULT CALLBACK CBTHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return RunHook(hkCBT, nCode, wParam, lParam, [&]() -> std::optional<Notice> {
        std::int64_t structWindow = 0;
        if (lParam != 0 && nCode == HcbtActivate)
            structWindow = reinterpret_cast<intptr_t>(reinterpret_cast<const CBTACTIVATESTRUCT*>(lParam)->hWndActive);
        else if (lParam != 0 && nCode == HcbtClickSkipped)
            structWindow = reinterpret_cast<intptr_t>(reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->hwnd);
        return CbtNotice(nCode, wParam, lParam, structWindow);
    });
}

bool BuildHookTable()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(g_instance, path, MAX_PATH);
    if (n == 0) {
        MessageBoxA(nullptr, "HtSysHook", "Failed to retrieve own module name!", MB_OK);
        return false;
    }
    THookObjectName prefix;
    if (!HookObjectPrefix(path, n, prefix))
        return false;
    struct Kind {
        const char* part;
        int hookId;
        HOOKPROC proc;
    };
    static constexpr Kind kinds[HookTypeCount] = {{"SHELL", WH_SHELL, ShellHookProc},
        {"KEYBOARD", WH_KEYBOARD, KeyboardHookProc}, {"MOUSE", WH_MOUSE, MouseHookProc}, {"CBT", WH_CBT, CBTHookProc}};
    for (int i = 0; i < HookTypeCount; ++i) {
        THookObjectName base = prefix;
        if (!AppendToName(base, kinds[i].part))
            return false;
        HookTable[i].Emplace(base, kinds[i].hookId, kinds[i].proc);
    }
    return true;
}

void FreeHookTable()
{
    for (auto& wrapper : HookTable)
        wrapper.Reset();
}

} // namespace
} // namespace corvane::tolvar

using namespace corvane;

extern "C" {

__declspec(dllexport) std::int32_t __stdcall AttachReceiver(std::uint8_t hookType, HWND receiver, std::uint8_t filter)
{
    tolvar::THtHookWrapper* w = tolvar::WrapperOf(hookType);
    if (!w)
        return ERROR_INVALID_PARAMETER;
    return w->Attach(receiver, filter != 0);
}

__declspec(dllexport) std::int32_t __stdcall DetachReceiver(std::uint8_t hookType, HWND receiver)
{
    tolvar::THtHookWrapper* w = tolvar::WrapperOf(hookType);
    if (!w)
        return ERROR_INVALID_PARAMETER;
    return w->Detach(receiver);
}

__declspec(dllexport) std::int32_t __stdcall LastError()
{
    for (int i = 0; i < HookTypeCount; ++i) {
        tolvar::THtHookWrapper* w = tolvar::WrapperOf(static_cast<std::uint8_t>(i));
        if (w && w->CreateError() != 0)
            return w->CreateError();
    }
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        tolvar::g_instance = instance;
        DisableThreadLibraryCalls(instance);
        return tolvar::BuildHookTable() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        tolvar::FreeHookTable();
        break;
    default:
        break;
    }
    return TRUE;
}

} // extern "C"
