// Main window: Full and Compact mode, stored geometry, splitters, activation.
#include "win32/app/FormCorvane.h"

#include <commctrl.h>

#include "shell/UnitSettings.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kFixTimerId = 1;
constexpr UINT kFixTimerInterval = 50;
constexpr int kChooseByMinSize = 170;
constexpr int kMacrosMinSize = 15;

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

} // namespace

// What the mode and splitter rules may do to the window.
class TFormCorvane::ModeWindow final : public IModeWindow {
public:
    explicit ModeWindow(TFormCorvane& form) : f_(form) {}

    int MinHeight() const override { return f_.minHeight_; }
    int MinWidth() const override { return f_.minWidth_; }
    int Width() const override { const RECT r = WindowRect(f_.window_); return r.right - r.left; }
    int Height() const override { const RECT r = WindowRect(f_.window_); return r.bottom - r.top; }
    int ClientHeight() const override { return ClientRect(f_.window_).bottom; }
    void SetMinHeight(int h) override { f_.minHeight_ = h; EnforceMinimum(); }
    void SetMinWidth(int w) override { f_.minWidth_ = w; EnforceMinimum(); }
    void SetWidth(int w) override { Resize(w, Height()); }
    void SetHeight(int h) override { Resize(Width(), h); }

    int UpperPanelHeight() const override { return f_.layout_.upperHeight; }
    int LowerPanelHeight() const override { return f_.panelSizes_.lowerHeight; }
    void SetLowerPanelHeight(int h) override { f_.panelSizes_.lowerHeight = h; f_.LayoutControls(); }
    int ChooseByWidth() const override { return f_.panelSizes_.chooseByWidth; }
    void SetChooseByWidth(int w) override { f_.panelSizes_.chooseByWidth = w; f_.LayoutControls(); }
    int MacrosListWidth() const override { return f_.panelSizes_.macrosWidth; }
    void SetMacrosListWidth(int w) override { f_.panelSizes_.macrosWidth = w; f_.LayoutControls(); }
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
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        return {work.right - work.left, work.bottom - work.top};
    }

private:
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
    explicit EngineArming(TFormCorvane& form) : f_(form) {}
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
    void SetAppInactive(bool inactive) override { f_.appInactive_ = inactive; }
    // Pending edits of the selected reply are committed here once the
    // library editing commands exist; until then nothing is pending.
    void CommitEdits() override {}

private:
    TFormCorvane& f_;
};

void TFormCorvane::SetModeItemCaption(const std::string& caption)
{
    HMENU bar = GetMenu(window_);
    if (!bar)
        return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption.c_str());
    SetMenuItemInfoA(bar, CmdToggleMode, FALSE, &info);
    DrawMenuBar(window_);
}

void TFormCorvane::ToggleModeCommand()
{
    ToggleMode(modeState_, *modeWindow_, registry_);
}

void TFormCorvane::OnMinMaxInfo(MINMAXINFO& info) const
{
    info.ptMinTrackSize.x = minWidth_;
    info.ptMinTrackSize.y = minHeight_;
}

TFormCorvane::Splitter TFormCorvane::SplitterAt(int x, int y) const
{
    if (compact_)
        return Splitter::None;
    if (layout_.splitterVert1.Contains(x, y))
        return Splitter::Vert1;
    if (layout_.splitterVert2.Contains(x, y))
        return Splitter::Vert2;
    if (layout_.splitterHorz.Contains(x, y))
        return Splitter::Horz;
    return Splitter::None;
}

bool TFormCorvane::SetSplitterCursor()
{
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(window_, &p);
    const Splitter s = dragging_ != Splitter::None ? dragging_ : SplitterAt(p.x, p.y);
    if (s == Splitter::None)
        return false;
    SetCursor(LoadCursor(nullptr, s == Splitter::Horz ? IDC_SIZENS : IDC_SIZEWE));
    return true;
}

void TFormCorvane::BeginSplitterDrag(int x, int y)
{
    dragging_ = SplitterAt(x, y);
    if (dragging_ == Splitter::None)
        return;
    if (dragging_ == Splitter::Vert1)
        RecordListRatio(modeState_, *modeWindow_);
    const LayoutRect& r = dragging_ == Splitter::Vert1 ? layout_.splitterVert1
                        : dragging_ == Splitter::Vert2 ? layout_.splitterVert2 : layout_.splitterHorz;
    dragOffset_ = dragging_ == Splitter::Horz ? y - r.y : x - r.x;
    SetCapture(window_);
}

void TFormCorvane::DragSplitter(int x, int y)
{
    const RECT client = ClientRect(window_);
    switch (dragging_) {
    case Splitter::Vert1: {
        const int maxWidth = client.right - kButtonColumnWidth - kSplitterThickness - kChooseByMinSize;
        const int width = client.right - (x - dragOffset_) - kSplitterThickness;
        panelSizes_.chooseByWidth = std::clamp(width, kChooseByMinSize, std::max(kChooseByMinSize, maxWidth));
        panelSizes_.macrosWidth = MacrosListWidthFor(panelSizes_.chooseByWidth, modeState_.listRatio);
        break;
    }
    case Splitter::Vert2: {
        const int maxWidth = panelSizes_.chooseByWidth - kSplitterThickness - kMacrosMinSize;
        panelSizes_.macrosWidth = std::clamp(x - dragOffset_ - layout_.chooseBy.x, kMacrosMinSize, std::max(kMacrosMinSize, maxWidth));
        break;
    }
    case Splitter::Horz: {
        const int upper = std::max(kSplitterHorzMinSize, y - dragOffset_);
        panelSizes_.lowerHeight = std::max(kSplitterHorzMinSize, static_cast<int>(client.bottom) - upper - kSplitterThickness);
        break;
    }
    case Splitter::None:
        return;
    }
    LayoutControls();
}

void TFormCorvane::EndSplitterDrag()
{
    const Splitter ended = dragging_;
    dragging_ = Splitter::None;
    ReleaseCapture();
    if (ended == Splitter::Vert1)
        SplitterVert1Moved(modeState_, *modeWindow_);
    else if (ended == Splitter::Horz)
        SplitterHorzMoved(*modeWindow_);
}

void TFormCorvane::OnActivateApp(bool active)
{
    if (active)
        AppActivated(*engineArming_);
    else
        AppDeactivated(*engineArming_);
}

void TFormCorvane::OnFixTimer()
{
    // The engine's polling of hot keys and chords runs here.
}

} // namespace corvane::win32
