#include "hooks/HtSysHookComp.h"

#include <stdexcept>

namespace corvane {

THtSysHook::~THtSysHook() { Stop(); }

std::string THtSysHook::GetDisplayName() const { return Name.empty() ? std::string(ClassName()) : Name; }

void THtSysHook::SetHookDLL(const std::string& value)
{
    if (active_) {
        host_.ShowErrorBox("DLL name cannot be set while hook is active!", GetDisplayName());
        return;
    }
    hookDLL_ = value;
}

std::string THtSysHook::Start()
{
    if (active_)
        return {};
    if (hookDLL_.empty())
        return "Cannot activate hook because DLL name is not set.";
    THtHookLoader& loader = host_.Loader();
    std::int32_t code = loader.LoadHookDLL(hookDLL_);
    auto text = [this](std::int32_t c) {
        return HookErrorText(c, [this](std::int32_t e) { return host_.SystemMessage(e); });
    };
    if (code != htOk)
        return text(code);
    // From here on the library reference is held: a failed start gives it
    // back, so that every reference is balanced.
    listenerWindow_ = host_.CreateListener(*this);
    if (listenerWindow_ == 0) {
        loader.UnloadHookDLL();
        return "Failed to create listening window.";
    }
    code = loader.AttachReceiver(HookType(), listenerWindow_, allowFiltering_);
    if (code != htOk) {
        host_.DestroyListener(listenerWindow_);
        listenerWindow_ = 0;
        loader.UnloadHookDLL();
        return text(code);
    }
    active_ = true;
    return {};
}

void THtSysHook::Stop()
{
    if (!active_)
        return;
    if (listenerWindow_ != 0)
        host_.DestroyListener(listenerWindow_);
    listenerWindow_ = 0;
    host_.Loader().UnloadHookDLL();
    active_ = false;
}

std::int64_t THtSysHook::HandleMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam)
{
    if (message < htNotifyBase)
        return 0;
    const std::uint32_t code = message - htNotifyBase;
    bool handled = false;
    DoUnfiltered(
        static_cast<std::int32_t>(code), static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam), handled);
    if (handled)
        return 0;
    return Decode(code, wParam, lParam);
}

void THtSysHook::DoUnfiltered(std::int32_t code, std::int32_t wParam, std::int32_t lParam, bool& handled)
{
    if (OnUnfiltered)
        OnUnfiltered(*this, code, wParam, lParam, handled);
}

// ---- Keyboard

void THtKeyboardHook::SetAllowFiltering(bool value)
{
    if (Active())
        throw std::logic_error("Cannot set AllowFiltering propert while hook is active!");
    allowFiltering_ = value;
}

std::int64_t THtKeyboardHook::Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam)
{
    if (code != 0)
        return 0;
    const THtKeyStroke key = DecodeKeyStroke(wParam, lParam);
    keyBeingHandled_ = key;
    // A key the receiver thread took arrives with filterEvent set.
    bool filterEvent = key.takenByReceiver;
    if (filterEvent && OnKeyTaken)
        OnKeyTaken(key);
    if (OnKeyFilter && !key.takenByReceiver) {
        filterEvent = OnKeyFilter(key);
        host_.ReplyToSender(filterEvent ? 1 : 0);
    }
    DoKeyAction(key, filterEvent);
    return filterEvent ? 1 : 0;
}

void THtKeyboardHook::DoKeyAction(const THtKeyStroke& k, bool& filterEvent)
{
    if (OnKeyAction)
        OnKeyAction(*this, k.VirtualKeyCode, k.RepeatCount, k.ScanCode, k.isExtendedKey, k.altIsDown,
            k.keyWasDownBefore, k.keyIsBeingPressed, filterEvent);
}

// ---- Mouse

std::int64_t THtMouseHook::Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam)
{
    const THtMouseNotice m = DecodeMouse(code, wParam, lParam);
    if (m.isMove)
        DoMouseMove(m.sourceWindow, m.x, m.y);
    else
        DoMouseClick(m.sourceWindow, m.x, m.y, m.button, m.movement);
    return 0;
}

void THtMouseHook::DoMouseClick(
    std::uint32_t sourceWindow, std::int32_t x, std::int32_t y, TMouseButton button, THtMouseButtonMovement movement)
{
    if (OnMouseClick)
        OnMouseClick(*this, sourceWindow, x, y, button, movement);
}

void THtMouseHook::DoMouseMove(std::uint32_t sourceWindow, std::int32_t x, std::int32_t y)
{
    if (OnMouseMove)
        OnMouseMove(*this, sourceWindow, x, y);
}

// ---- Shell

std::int64_t THtShellHook::Decode(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam)
{
    const THtShellNotice s = DecodeShell(code, wParam, lParam, ApplicationWindow, NotifyOwnEvents);
    switch (s.event) {
    case THtShellEvent::WindowCreated:
        DoWindowCreated(s.sourceWindow);
        break;
    case THtShellEvent::WindowDestroyed:
        DoWindowDestroyed(s.sourceWindow);
        break;
    case THtShellEvent::ActivateShellWindow:
        DoActivateShellWindow();
        break;
    case THtShellEvent::WindowActivated:
        DoWindowActivated(s.sourceWindow);
        break;
    case THtShellEvent::WindowTitleRedraw:
        DoWindowTitleRedraw(s.sourceWindow, s.isFlashing);
        break;
    case THtShellEvent::TaskManager:
        DoTaskManager();
        break;
    case THtShellEvent::LanguageChange:
        DoLanguageChange(s.sourceWindow);
        break;
    case THtShellEvent::AccessibilityStateChanged:
        DoAccessibilityStateChanged(s.changedFeature);
        break;
    case THtShellEvent::None:
        break;
    }
    return 0;
}

void THtShellHook::DoAccessibilityStateChanged(std::int32_t f)
{
    if (OnAccessibilityStateChanged)
        OnAccessibilityStateChanged(*this, f);
}
void THtShellHook::DoActivateShellWindow()
{
    if (OnActivateShellWindow)
        OnActivateShellWindow(*this);
}
void THtShellHook::DoLanguageChange(std::uint32_t w)
{
    if (OnLanguageChange)
        OnLanguageChange(*this, w);
}
void THtShellHook::DoWindowTitleRedraw(std::uint32_t w, bool f)
{
    if (OnWindowTitleRedraw)
        OnWindowTitleRedraw(*this, w, f);
}
void THtShellHook::DoTaskManager()
{
    if (OnTaskManager)
        OnTaskManager(*this);
}
void THtShellHook::DoWindowActivated(std::uint32_t w)
{
    if (OnWindowActivated)
        OnWindowActivated(*this, w);
}
void THtShellHook::DoWindowCreated(std::uint32_t w)
{
    if (OnWindowCreated)
        OnWindowCreated(*this, w);
}
void THtShellHook::DoWindowDestroyed(std::uint32_t w)
{
    if (OnWindowDestroyed)
        OnWindowDestroyed(*this, w);
}

} // namespace corvane
