#pragma once
// Receiver components: each loads the hook library, registers a hidden
// listener window for its hook type and turns the notifications arriving
// there into typed events on the thread that owns the window.
#include <cstdint>
#include <functional>
#include <string>

#include "hooks/HtSysHookCommon.h"
#include "hooks/HtSysHookDecode.h"
#include "hooks/HtSysHookLoader.h"

namespace corvane {

class THtSysHook;

// What a component needs of the system.
class IHtHookHost {
public:
    virtual ~IHtHookHost() = default;
    virtual THtHookLoader& Loader() = 0;
    // A hidden window of the calling thread whose notifications go to
    // owner.HandleMessage; 0 on failure.
    virtual std::uintptr_t CreateListener(THtSysHook& owner) = 0;
    virtual void DestroyListener(std::uintptr_t window) = 0;
    virtual std::string SystemMessage(std::int32_t code) = 0;
    virtual void ShowErrorBox(const std::string& text, const std::string& caption) = 0;
    // Answers the hooked program that waits for a filtering receiver's reply
    // now, while the notification is still being handled; nothing when it
    // does not wait.
    virtual void ReplyToSender(std::int64_t result) = 0;
};

using THtSysHookUnfilteredEvent = std::function<void(
    THtSysHook& sender, std::int32_t code, std::int32_t wParam, std::int32_t lParam, bool& handled)>;
using THtKeyboardNotifyEvent = std::function<void(THtSysHook& sender, std::int32_t virtualKeyCode,
    std::uint16_t repeatCount, std::uint8_t scanCode, bool isExtendedKey, bool altIsDown, bool keyWasDownBefore,
    bool keyIsBeingPressed, bool& filterEvent)>;
using THtKeyFilterEvent = std::function<bool(const THtKeyStroke& key)>;
using THtMouseClickNotifyEvent = std::function<void(THtSysHook& sender, std::uint32_t sourceWindow, std::int32_t x,
    std::int32_t y, TMouseButton button, THtMouseButtonMovement movement)>;
using THtMouseMoveNotifyEvent
    = std::function<void(THtSysHook& sender, std::uint32_t sourceWindow, std::int32_t x, std::int32_t y)>;
using THtShellHookAccesibilityEvent = std::function<void(THtSysHook& sender, std::int32_t changedFeature)>;
using THtShellNotifyEvent = std::function<void(THtSysHook& sender)>;
using THtShellNotifyWindowEvent = std::function<void(THtSysHook& sender, std::uint32_t sourceWindow)>;
using THtShellTitleRedrawEvent = std::function<void(THtSysHook& sender, std::uint32_t sourceWindow, bool isFlashing)>;

class THtSysHook {
public:
    explicit THtSysHook(IHtHookHost& host) : host_(host) { }
    virtual ~THtSysHook();
    THtSysHook(const THtSysHook&) = delete;
    THtSysHook& operator=(const THtSysHook&) = delete;

    std::string Name;
    THtSysHookUnfilteredEvent OnUnfiltered;

    bool Active() const { return active_; }
    const std::string& HookDLL() const { return hookDLL_; }
    bool AllowFiltering() const { return allowFiltering_; }
    std::uintptr_t ListenerWindow() const { return listenerWindow_; }

    virtual THtHookType HookType() const = 0;
    virtual std::string GetDisplayName() const;
    virtual void SetHookDLL(const std::string& value);

    // Empty on success, else the error text. Does nothing when active.
    std::string Start();
    void Stop();

    // A message from WM_USER up that reached the listener window; the reply.
    std::int64_t HandleMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam);

protected:
    virtual const char* ClassName() const = 0;
    virtual void DoUnfiltered(std::int32_t code, std::int32_t wParam, std::int32_t lParam, bool& handled);
    // Decodes one notification that no unfiltered handler took.
    virtual std::int64_t Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam) = 0;

    IHtHookHost& host_;
    bool allowFiltering_ = false;

private:
    bool active_ = false;
    std::string hookDLL_;
    std::uintptr_t listenerWindow_ = 0;
};

class THtKeyboardHook : public THtSysHook {
public:
    using THtSysHook::THtSysHook;
    THtKeyboardNotifyEvent OnKeyAction;
    // Asked before OnKeyAction while the hooked program waits (filtering
    // receivers only): true takes the key away from the program. The program
    // gets this answer at once, so what OnKeyAction then does (even talking
    // to that program) never keeps it waiting.
    THtKeyFilterEvent OnKeyFilter;
    // A key that the receiver thread took away from its program, before
    // OnKeyAction hears of it.
    std::function<void(const THtKeyStroke& key)> OnKeyTaken;

    THtHookType HookType() const override { return hkKeyboard; }
    // Throws while active.
    void SetAllowFiltering(bool value);
    // The whole notice of the key OnKeyAction hears of.
    [[nodiscard]] const THtKeyStroke& KeyBeingHandled() const { return keyBeingHandled_; }

protected:
    const char* ClassName() const override { return "THtKeyboardHook"; }
    std::int64_t Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam) override;
    virtual void DoKeyAction(const THtKeyStroke& key, bool& filterEvent);

private:
    THtKeyStroke keyBeingHandled_{};
};

class THtMouseHook : public THtSysHook {
public:
    using THtSysHook::THtSysHook;
    THtMouseClickNotifyEvent OnMouseClick;
    THtMouseMoveNotifyEvent OnMouseMove;

    THtHookType HookType() const override { return hkMouse; }

protected:
    const char* ClassName() const override { return "THtMouseHook"; }
    std::int64_t Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam) override;
    virtual void DoMouseClick(std::uint32_t sourceWindow, std::int32_t x, std::int32_t y, TMouseButton button,
        THtMouseButtonMovement movement);
    virtual void DoMouseMove(std::uint32_t sourceWindow, std::int32_t x, std::int32_t y);
};

class THtShellHook : public THtSysHook {
public:
    using THtSysHook::THtSysHook;
    bool NotifyOwnEvents = false;
    // The window that stands for the program on the taskbar; its own events
    // are left out unless NotifyOwnEvents is set.
    std::uint32_t ApplicationWindow = 0;

    THtShellHookAccesibilityEvent OnAccessibilityStateChanged;
    THtShellNotifyEvent OnActivateShellWindow;
    THtShellNotifyWindowEvent OnLanguageChange;
    THtShellNotifyEvent OnTaskManager;
    THtShellNotifyWindowEvent OnWindowActivated;
    THtShellNotifyWindowEvent OnWindowCreated;
    THtShellNotifyWindowEvent OnWindowDestroyed;
    THtShellTitleRedrawEvent OnWindowTitleRedraw;

    THtHookType HookType() const override { return hkShell; }

protected:
    const char* ClassName() const override { return "THtShellHook"; }
    std::int64_t Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam) override;
    virtual void DoAccessibilityStateChanged(std::int32_t changedFeature);
    virtual void DoActivateShellWindow();
    virtual void DoLanguageChange(std::uint32_t sourceWindow);
    virtual void DoWindowTitleRedraw(std::uint32_t sourceWindow, bool isFlashing);
    virtual void DoTaskManager();
    virtual void DoWindowActivated(std::uint32_t sourceWindow);
    virtual void DoWindowCreated(std::uint32_t sourceWindow);
    virtual void DoWindowDestroyed(std::uint32_t sourceWindow);
};

} // namespace corvane
