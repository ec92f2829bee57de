#include "win32/HtSysHookHost.h"
#include "win32/HtSysHookUtils.h"

#include <windows.h>

#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "library/Texts.h"
#include "platform/Trace.h"

namespace corvane::win32 {
namespace {

using AttachReceiverProc = std::int32_t(__stdcall*)(std::uint8_t, HWND, std::uint8_t);
using PublishInputStateProc = std::int32_t(__stdcall*)(std::uint32_t, const char*);
using OwnKeyRingProc = void*(__stdcall*)();

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
    std::int32_t CallPublish(void* proc, std::uint32_t flags, const std::string& excluded) override
    {
        return reinterpret_cast<PublishInputStateProc>(proc)(flags, excluded.c_str());
    }
    void* CallRing(void* proc) override { return reinterpret_cast<OwnKeyRingProc>(proc)(); }
};

constexpr char ListenerClass[] = "CorvaneHookListener";
constexpr char ReceiverClass[] = "CorvaneHookReceiver";
constexpr char ReceiverControlClass[] = "CorvaneHookReceiverControl";
constexpr UINT RunOnReceiverThread = WM_APP + 1;

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

// What a receiver window passes its notifications on to.
struct ReceiverRelay {
    HWND forwardTo; // the component's listener, on the thread that started it
    THtHookType type;
    const THookReceiverRoles* roles;
};

void LookAtHold(HWND receiver, std::uint8_t id, const std::function<THoldCheck(std::uint8_t)>& checkHold)
{
    const THoldCheck check = checkHold ? checkHold(id) : THoldCheck{};
    if (check.over)
        KillTimer(receiver, id);
    if (check.sendFence)
        SendHoldFence();
    SendKeysAgain(check.sendOn);
}

// Answers a hooked program that waits on a key at once, then posts the
// notification on; the component there hears of it in order, later.
LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    const auto* relay = reinterpret_cast<const ReceiverRelay*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && relay) {
        LookAtHold(hwnd, static_cast<std::uint8_t>(wParam), relay->roles->checkHold);
        return 0;
    }
    if (msg < WM_USER || !relay)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    WPARAM forwarded = wParam;
    LRESULT reply = 0;
    try {
        if (relay->type == hkKeyboard && msg == WM_USER && relay->roles->decideKey) {
            const THtKeyStroke stroke = DecodeKeyStroke(wParam, lParam);
            const TGateVerdict verdict = relay->roles->decideKey(stroke);
            if (stroke.VirtualKeyCode == VK_SPACE && stroke.keyIsBeingPressed)
                TraceStep("receiver thread answered the space");
            SendKeysAgain(verdict.sendOn);
            if (!verdict.tell)
                return verdict.take ? 1 : 0;
            reply = verdict.take ? 1 : 0;
            if (verdict.take)
                forwarded |= static_cast<WPARAM>(htKeyTakenBit);
            if (verdict.holdId != 0) {
                forwarded |= static_cast<WPARAM>(verdict.holdId) << htKeyHoldShift;
                SetTimer(hwnd, verdict.holdId, HoldLimitMs, nullptr);
            }
        } else if (relay->type == hkMouse && !DecodeMouse(msg - WM_USER, wParam, lParam).isMove
            && relay->roles->mouseClicked) {
            relay->roles->mouseClicked();
        }
    } catch (...) {
        reply = 0; // the key goes on; nothing may leave a window procedure
    }
    PostMessageA(relay->forwardTo, msg, forwarded, lParam);
    return reply;
}

LRESULT CALLBACK ReceiverControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == RunOnReceiverThread) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The thread that owns the receiver windows: it only answers and passes on.
class ReceiverThread {
public:
    ReceiverThread()
    {
        thread_ = std::thread([this] { Loop(); });
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return started_; });
    }
    ReceiverThread(const ReceiverThread&) = delete;
    ReceiverThread& operator=(const ReceiverThread&) = delete;
    ~ReceiverThread()
    {
        if (control_)
            PostMessageA(control_, WM_QUIT, 0, 0);
        if (thread_.joinable())
            thread_.join();
    }
    // Runs `task` on the receiver thread and waits for it.
    void Run(const std::function<void()>& task)
    {
        if (control_)
            SendMessageA(control_, RunOnReceiverThread, 0, reinterpret_cast<LPARAM>(&task));
    }

private:
    void Loop()
    {
        WNDCLASSA control{};
        control.lpfnWndProc = ReceiverControlProc;
        control.hInstance = GetModuleHandleA(nullptr);
        control.lpszClassName = ReceiverControlClass;
        RegisterClassA(&control);
        WNDCLASSA receiver{};
        receiver.lpfnWndProc = ReceiverProc;
        receiver.hInstance = GetModuleHandleA(nullptr);
        receiver.lpszClassName = ReceiverClass;
        RegisterClassA(&receiver);
        HWND window = CreateWindowExA(
            0, ReceiverControlClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, control.hInstance, nullptr);
        {
            const std::lock_guard lock(mutex_);
            control_ = window;
            started_ = true;
        }
        ready_.notify_all();
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (control_)
            DestroyWindow(control_);
    }

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ready_;
    bool started_ = false;
    HWND control_ = nullptr;
};

class Win32HookHost : public IHtHookHost {
public:
    THtHookLoader& Loader() override { return loader_; }
    std::uintptr_t CreateListener(THtSysHook& owner) override
    {
        RegisterListenerClass();
        HWND listener = CreateWindowExA(
            0, ListenerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), &owner);
        if (!listener || !receiverThread_)
            return reinterpret_cast<std::uintptr_t>(listener);
        // The hook library talks to a window of the receiver thread, which
        // passes each notification on to this listener.
        auto relay = std::make_unique<ReceiverRelay>(ReceiverRelay{listener, owner.HookType(), &roles_});
        HWND receiver = nullptr;
        receiverThread_->Run([&] {
            receiver = CreateWindowExA(
                0, ReceiverClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), relay.get());
        });
        if (!receiver) {
            DestroyWindow(listener);
            return 0;
        }
        relays_[receiver] = std::move(relay);
        return reinterpret_cast<std::uintptr_t>(receiver);
    }
    void DestroyListener(std::uintptr_t window) override
    {
        const HWND hwnd = reinterpret_cast<HWND>(window);
        const auto relay = relays_.find(hwnd);
        if (relay == relays_.end()) {
            DestroyWindow(hwnd);
            return;
        }
        receiverThread_->Run([&] { DestroyWindow(hwnd); });
        DestroyWindow(relay->second->forwardTo);
        relays_.erase(relay);
    }
    std::string SystemMessage(std::int32_t code) override { return SystemMessageText(code); }
    void ShowErrorBox(const std::string& text, const std::string& caption) override
    {
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
    void ReplyToSender(std::int64_t result) override { ReplyMessage(static_cast<LRESULT>(result)); }

    void UseReceiverThread(THookReceiverRoles roles)
    {
        roles_ = std::move(roles);
        if (!receiverThread_)
            receiverThread_ = std::make_unique<ReceiverThread>();
    }

private:
    Win32ModuleApi api_;
    THtHookLoader loader_{api_};
    THookReceiverRoles roles_;
    std::map<HWND, std::unique_ptr<ReceiverRelay>> relays_;
    std::unique_ptr<ReceiverThread> receiverThread_;
};

Win32HookHost& TheHost()
{
    static Win32HookHost host;
    return host;
}

} // namespace

IHtHookHost& HookHost() { return TheHost(); }

void UseReceiverThread(THookReceiverRoles roles) { TheHost().UseReceiverThread(std::move(roles)); }

std::string HookErrorTextOf(std::int32_t code) { return HookErrorText(code, SystemMessageText); }

} // namespace corvane::win32
