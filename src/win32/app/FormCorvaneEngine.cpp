// Main window: the expansion engine's events in, its requests carried out.
#include "win32/app/FormCorvaneAdapters.h"

#include <commctrl.h>

#include "win32/HtSysHookUtils.h"
#include "engine/PredefinedInsertions.h"
#include "win32/app/CommandIds.h"
#include "win32/app/Cursors.h"

namespace corvane::win32 {

void TFormCorvane::EngineArming::SetAppInactive(bool inactive)
{
    if (f_.engine_)
        f_.engine_->SetAppInactive(inactive);
}

void TFormCorvane::CreateEngine()
{
    desktop_ = std::make_unique<Win32Desktop>();
    clock_ = std::make_unique<Win32Clock>();
    engineBoxes_ = std::make_unique<Win32MessageBoxes>(window_);
    macroInserts_ = std::make_unique<TFormMacroInserts>(registry_);
    picker_ = std::make_unique<TFormReplyPicker>();
    engineWindow_ = std::make_unique<EngineWindow>(*this);
    engine_ = std::make_unique<TEngine>(
        TEngineParts{*library_, *replyContent_, *engineWindow_, *desktop_, *clock_, *engineBoxes_});
    ConnectHookEvents();
    BuildPlaceholderMenu();
}

void TFormCorvane::ConnectHookEvents()
{
    hooks_.KeyHook.OnKeyAction = [this](THtSysHook&, std::int32_t virtualKey, std::uint16_t, std::uint8_t, bool, bool,
                                     bool, bool pressed, bool&) { engine_->KeyAction(virtualKey, pressed); };
    hooks_.MouseHook.OnMouseClick = [this](THtSysHook&, std::uint32_t, std::int32_t, std::int32_t, TMouseButton,
                                        THtMouseButtonMovement) { engine_->MouseClick(); };
    hooks_.ShellHook.OnWindowActivated
        = [this](THtSysHook&, std::uint32_t window) { engine_->WindowActivated(WindowFromNotice(window)); };
    hooks_.ShellHook.OnWindowDestroyed = [this](THtSysHook&, std::uint32_t window) {
        engine_->WindowDestroyed(WindowFromNotice(window), terminating_);
    };
}

void TFormCorvane::OnFixTimer()
{
    // Off while an action runs, so that a dialog it opens sees no ticks.
    KillTimer(window_, kFixTimerId);
    engine_->TimerTick();
    foregroundAtTick_ = ToHwnd(engine_->ForegroundAtTick());
    if (fixTimerEnabled_ && window_)
        SetTimer(window_, kFixTimerId, kFixTimerInterval, nullptr);
}

TDialogPlace TFormCorvane::AroundDeliveryButton(int id) const
{
    RECT r{};
    SendMessageA(deliveryToolbar_, TB_GETRECT, id, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(deliveryToolbar_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return {TDialogPlace::AroundPoint, (r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void TFormCorvane::CopyEntireExecute() { engine_->CopyEntireReply(AroundDeliveryButton(CmdCopyEntire)); }

void TFormCorvane::PasteIntoLastActiveExecute()
{
    engine_->PasteIntoLastActive(AroundDeliveryButton(CmdPasteLastActive));
}

void TFormCorvane::TrayInsertExecute()
{
    // The tray menu took the foreground: the reply goes back to the window active before it.
    engine_->PasteIntoLastActive({TDialogPlace::ScreenCentre});
}

void TFormCorvane::BuildPlaceholderMenu()
{
    placeholderMenu_.Reset(CreatePopupMenu());
    for (int i = 0; i < PlaceholderCount; ++i) {
        AppendMenuA(placeholderMenu_.Get(), MF_STRING, CmdPlaceholderFirst + i, PlaceholderMenuCaption(i).c_str());
        if (SeparatorFollows(i))
            AppendMenuA(placeholderMenu_.Get(), MF_SEPARATOR, 0, nullptr);
    }
}

void TFormCorvane::InsertPlaceholder(int index)
{
    // In the editor's current formatting, marking the reply as changed like typing.
    replyContent_->ReplaceSelection(PlaceholderNames[static_cast<size_t>(index)]);
    SetFocus(editor_);
}

void TFormCorvane::DropReplyOutside()
{
    POINT at{};
    GetCursorPos(&at);
    HWND target = TopLevelWindow(WindowFromPoint(at));
    engine_->DropSelectedReply(at.x, at.y, ToWindowId(target));
}

} // namespace corvane::win32
