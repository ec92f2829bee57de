#pragma once
// The main window's adapters for the mode rules and the activation handlers.
// Included only by the main window's own files.
#include "win32/app/FormCorvane.h"

#include <algorithm>

#include <commctrl.h>

#include "engine/Delivery.h"
#include "engine/ReplyPicker.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitSettings.h"
#include "win32/HtSysHookUtils.h"
#include "win32/MacroInsertsDialog.h"
#include "win32/PickerWindow.h"
#include "win32/TreeViewControl.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32MessageBoxes.h"

namespace corvane::win32 {

inline constexpr UINT_PTR kFixTimerId = 1;
// The engine's tick: how often hot keys and chords are polled.
inline constexpr UINT kFixTimerInterval = 50;
inline constexpr UINT_PTR kTipTimerId = 2;
// The start-up tip comes this long after the message loop starts.
inline constexpr UINT kTipTimerInterval = 100;

inline void EnableControl(HWND control, bool enabled)
{
    if (control && (IsWindowEnabled(control) != FALSE) != enabled)
        EnableWindow(control, enabled);
}

inline void EnableToolButton(HWND toolbar, int id, bool enabled)
{
    if (toolbar && (SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0) != enabled)
        SendMessageA(toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

inline RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

inline RECT ClientRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

// What the mode and splitter rules may do to the window.
class TFormCorvane::ModeWindow final : public IModeWindow {
public:
    explicit ModeWindow(TFormCorvane& form) : f_(form) { }

    int MinHeight() const override { return f_.minHeight_; }
    int MinWidth() const override { return f_.minWidth_; }
    int Width() const override
    {
        const RECT r = WindowRect(f_.window_);
        return r.right - r.left;
    }
    int Height() const override
    {
        const RECT r = WindowRect(f_.window_);
        return r.bottom - r.top;
    }
    int ClientHeight() const override { return ClientRect(f_.window_).bottom; }
    int FrameHeight() const override
    {
        // From the window's style, so that it holds while minimised too.
        RECT frame{};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(f_.window_, GWL_STYLE)),
            GetMenu(f_.window_) != nullptr, static_cast<DWORD>(GetWindowLongPtrA(f_.window_, GWL_EXSTYLE)));
        return frame.bottom - frame.top;
    }
    TWindowSize RestoredSize() const override
    {
        // Also right while minimised or maximised.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (!GetWindowPlacement(f_.window_, &placement))
            return {Width(), Height()};
        const RECT& r = placement.rcNormalPosition;
        return {r.right - r.left, r.bottom - r.top};
    }
    void SetMinHeight(int h) override
    {
        f_.minHeight_ = h;
        EnforceMinimum();
    }
    void SetMinWidth(int w) override
    {
        f_.minWidth_ = w;
        EnforceMinimum();
    }
    void SetWidth(int w) override { Resize(w, Height()); }
    void SetHeight(int h) override { Resize(Width(), h); }

    int LowerPanelHeight() const override { return f_.panelSizes_.lowerHeight; }
    void SetLowerPanelHeight(int h) override
    {
        f_.panelSizes_.lowerHeight = h;
        f_.LayoutControls();
    }
    int ChooseByWidth() const override { return f_.panelSizes_.chooseByWidth; }
    void SetChooseByWidth(int w) override
    {
        f_.panelSizes_.chooseByWidth = w;
        f_.LayoutControls();
    }
    int MacrosListWidth() const override { return f_.panelSizes_.macrosWidth; }
    void SetMacrosListWidth(int w) override
    {
        f_.panelSizes_.macrosWidth = w;
        f_.LayoutControls();
    }
    int TreeWidth() const override { return f_.layout_.tree.w; }
    int TreeHeight() const override { return f_.layout_.tree.h; }

    void SetPanelVisible(ModePanel panel, bool visible) override
    {
        // The five panels come and go together; Compact mode is their absence.
        if (panel == ModePanel::ChooseBy) {
            f_.compact_ = !visible;
            f_.LayoutControls();
        }
    }
    void RelayoutFormattingToolbar() override
    {
        ShowWindow(f_.toolbar_, SW_HIDE);
        f_.LayoutControls();
        SendMessageA(f_.toolbar_, TB_AUTOSIZE, 0, 0);
    }
    void SetModeItemCaption(const std::string& caption) override { f_.SetModeItemCaption(caption); }
    TWindowSize ScreenSize() const override
    {
        const ScreenArea area = WorkArea();
        return {area.w, area.h};
    }
    void CentreOnScreen() override
    {
        const WindowOrigin at = CentredOrigin(WorkArea(), Width(), Height());
        SetWindowPos(f_.window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    // The work area of the monitor the window is on.
    ScreenArea WorkArea() const
    {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoA(MonitorFromWindow(f_.window_, MONITOR_DEFAULTTONEAREST), &info))
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
        const RECT& r = info.rcWork;
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    void Resize(int w, int h)
    {
        SetWindowPos(f_.window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void EnforceMinimum()
    {
        const int w = Width(), h = Height();
        if (w < f_.minWidth_ || h < f_.minHeight_)
            Resize(std::max(w, f_.minWidth_), std::max(h, f_.minHeight_));
    }
    TFormCorvane& f_;
};

// The switches that activation flips for the expansion engine.
class TFormCorvane::EngineArming final : public IEngineArming {
public:
    explicit EngineArming(TFormCorvane& form) : f_(form) { }
    void SetFixTimerEnabled(bool enabled) override
    {
        if (enabled == f_.fixTimerEnabled_)
            return;
        f_.fixTimerEnabled_ = enabled;
        if (enabled)
            SetTimer(f_.window_, kFixTimerId, kFixTimerInterval, nullptr);
        else
            KillTimer(f_.window_, kFixTimerId);
    }
    void SetAppInactive(bool inactive) override;
    void CommitEdits() override { f_.CommitEdits(); }

private:
    TFormCorvane& f_;
};

// What the engine asks of the main window.
class TFormCorvane::EngineWindow final : public IEngineWindow {
public:
    explicit EngineWindow(TFormCorvane& form) : f_(form) { }

    TreeNode SelectedNode() const override { return f_.tree_->Selected(); }
    void CommitEdits() override { f_.CommitEdits(); }
    // The editor's notifications would refresh the formatting toolbar and
    // mark edits for every load of a delivery; it ends as it began.
    void SetDelivering(bool delivering) override
    {
        if (delivering && depth_++ == 0)
            mask_ = SendMessageA(f_.editor_, EM_SETEVENTMASK, 0, 0);
        else if (!delivering && --depth_ == 0)
            SendMessageA(f_.editor_, EM_SETEVENTMASK, 0, mask_);
    }
    WindowId MainWindow() const override { return ToWindowId(f_.window_); }
    void ShowFromHotKey(WindowId from) override
    {
        f_.foregroundAtTick_ = ToHwnd(from);
        f_.ShowFromTray();
    }
    void TakeForeground() override { ForceForeground(GetForegroundWindow(), f_.window_); }
    bool ParametersDialogEnabled() const override { return ReadProgramFlag(f_.registry_, kShowMacroIns); }
    bool AskParameters(const std::string& list, const TDialogPlace& place, std::string& values) override
    {
        if (!f_.macroInserts_->Ask(f_.window_, list, place))
            return false;
        values = f_.macroInserts_->Values();
        return true;
    }
    bool ParametersDialogVisible() const override { return f_.macroInserts_->Visible(); }
    void CancelParametersDialog() override { f_.macroInserts_->Cancel(); }
    bool PickerEnabled() const override { return ReadPickerEnabled(f_.registry_); }
    std::string ExcludedPrograms() const override { return ReadProgramString(f_.registry_, kExcludedPrograms); }
    TPicked PickReply(WindowId target) override
    {
        TReplyPicker picker(TReplySearch(SearchEntriesOf(*f_.library_)),
            TRecentDeliveries(ReadProgramString(f_.registry_, kRecentReplies)));
        return f_.picker_->Pick(f_.window_, ToHwnd(target), picker);
    }
    void ReplyDelivered(const TRep& reply) override
    {
        TRecentDeliveries recent(ReadProgramString(f_.registry_, kRecentReplies));
        recent.Record(ReplyKeyOf(reply, f_.library_->Root()));
        (void)WriteProgramString(f_.registry_, kRecentReplies, recent.Stored());
    }

private:
    TFormCorvane& f_;
    int depth_ = 0;
    LRESULT mask_ = 0;
};

} // namespace corvane::win32
