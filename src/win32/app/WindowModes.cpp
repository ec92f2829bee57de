// Full and Compact mode, stored geometry and splitters on the real window.
#include "win32/app/WindowModes.h"

#include <algorithm>
#include <string>

#include "win32/DisplayDpi.h"
#include "win32/Monitors.h"
#include "win32/app/ChildWindows.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

// What the mode and splitter rules may do to the window.
class WindowModes::Adapter final : public IModeWindow {
public:
    explicit Adapter(WindowModes& modes) : m_(modes) { }

    int MinHeight() const override { return m_.minHeight_; }
    int MinWidth() const override { return m_.minWidth_; }
    int Width() const override
    {
        const RECT r = WindowRect(Handle());
        return r.right - r.left;
    }
    int Height() const override
    {
        const RECT r = WindowRect(Handle());
        return r.bottom - r.top;
    }
    int ClientHeight() const override { return ClientRect(Handle()).bottom; }
    int Dpi() const override { return m_.dpi_; }
    int FrameHeightAtDpi(int dpi) const override
    {
        // From the window's style, so that it holds while minimised too; at
        // the window's own DPI, which is not the system's on another monitor.
        return Win32Monitors().FrameAt(FrameStyleOf(Handle()), dpi).Height();
    }
    TWindowSize RestoredSize() const override
    {
        // Also right while minimised or maximised.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (!GetWindowPlacement(Handle(), &placement))
            return {Width(), Height()};
        const RECT& r = placement.rcNormalPosition;
        return {r.right - r.left, r.bottom - r.top};
    }
    void SetMinHeight(int h) override
    {
        m_.minHeight_ = h;
        EnforceMinimum();
    }
    void SetMinWidth(int w) override
    {
        m_.minWidth_ = w;
        EnforceMinimum();
    }
    void SetWidth(int w) override { Resize(w, Height()); }
    void SetHeight(int h) override { Resize(Width(), h); }

    int LowerPanelHeight() const override { return m_.panelSizes_.lowerHeight; }
    void SetLowerPanelHeight(int h) override
    {
        m_.panelSizes_.lowerHeight = h;
        m_.window_.relayout();
    }
    int ChooseByWidth() const override { return m_.panelSizes_.chooseByWidth; }
    void SetChooseByWidth(int w) override
    {
        m_.panelSizes_.chooseByWidth = w;
        m_.window_.relayout();
    }
    int MacrosListWidth() const override { return m_.panelSizes_.macrosWidth; }
    void SetMacrosListWidth(int w) override
    {
        m_.panelSizes_.macrosWidth = w;
        m_.window_.relayout();
    }
    int TreeWidth() const override { return m_.layout_.tree.w; }
    int TreeHeight() const override { return m_.layout_.tree.h; }

    void SetPanelVisible(ModePanel panel, bool visible) override
    {
        // The five panels come and go together; Compact mode is their absence.
        if (panel == ModePanel::ChooseBy) {
            m_.compact_ = !visible;
            m_.window_.relayout();
        }
    }
    void RelayoutFormattingToolbar() override { m_.window_.relayoutToolbar(); }
    void SetModeItemCaption(const std::string& caption) override { m_.SetModeItemCaption(caption); }
    TWindowSize ScreenSize() const override
    {
        const ScreenArea area = WorkArea();
        return {area.w, area.h};
    }
    void CentreOnScreen() override
    {
        const WindowOrigin at = CentredOrigin(WorkArea(), Width(), Height());
        SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    HWND Handle() const { return m_.window_.handle; }
    // The work area of the monitor the window is on.
    ScreenArea WorkArea() const
    {
        const TRect r = MonitorOfWindow(Handle()).work;
        return {r.left, r.top, r.Width(), r.Height()};
    }
    void Resize(int w, int h)
    {
        SetWindowPos(Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void EnforceMinimum()
    {
        const int w = Width(), h = Height();
        if (w < m_.minWidth_ || h < m_.minHeight_)
            Resize(std::max(w, m_.minWidth_), std::max(h, m_.minHeight_));
    }
    WindowModes& m_;
};

WindowModes::WindowModes(IRegistry& registry) : registry_(registry), adapter_(std::make_unique<Adapter>(*this)) { }

WindowModes::~WindowModes() = default;

void WindowModes::Attach(const Window& window)
{
    window_ = window;
    dpi_ = WindowDpi(window.handle);
    const LayoutMetrics m = MetricsAt(dpi_);
    minWidth_ = m.fullMinWidth;
    minHeight_ = m.fullMinHeight;
    panelSizes_ = DefaultPanelSizes(dpi_);
}

void WindowModes::ChangeDpi(int dpi)
{
    const int from = dpi_;
    dpi_ = dpi;
    panelSizes_ = PanelSizesAtDpi(panelSizes_, from, dpi);
    minWidth_ = ConvertDpi(minWidth_, from, dpi);
    minHeight_ = ConvertDpi(minHeight_, from, dpi);
}

void WindowModes::Load()
{
    RecordListRatio(modeState_, *adapter_);
    LoadModeGeometry(modeState_, *adapter_, registry_);
}

bool WindowModes::Save() { return SaveModeGeometry(modeState_, *adapter_, registry_); }

bool WindowModes::Toggle() { return ToggleMode(modeState_, *adapter_, registry_); }

void WindowModes::SetModeItemCaption(const std::string& caption)
{
    HMENU bar = GetMenu(window_.handle);
    if (!bar)
        return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption.c_str());
    SetMenuItemInfoA(bar, CmdToggleMode, FALSE, &info);
    DrawMenuBar(window_.handle);
}

const MainLayout& WindowModes::ComputeLayout()
{
    const RECT client = ClientRect(window_.handle);
    const LayoutRect oldSplitter = layout_.splitterHorz;
    layout_ = ComputeMainLayout(client.right, client.bottom, panelSizes_, compact_, dpi_);
    for (const LayoutRect& r : {oldSplitter, layout_.splitterHorz}) {
        const RECT area{r.x, r.y, r.x + r.w, r.y + r.h};
        InvalidateRect(window_.handle, &area, TRUE);
    }
    return layout_;
}

void WindowModes::PaintSplitters()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_.handle, &ps);
    const LayoutRect& r = layout_.splitterHorz;
    const RECT splitter{r.x, r.y, r.x + r.w, r.y + r.h};
    FillRect(dc, &splitter, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window_.handle, &ps);
}

void WindowModes::OnMinMaxInfo(MINMAXINFO& info) const
{
    info.ptMinTrackSize.x = minWidth_;
    info.ptMinTrackSize.y = minHeight_;
}

bool WindowModes::SetSplitterCursor()
{
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(window_.handle, &p);
    const SplitterId s = dragging_ != SplitterId::None ? dragging_ : SplitterAt(layout_, compact_, p.x, p.y);
    if (s == SplitterId::None)
        return false;
    SetCursor(LoadCursor(nullptr, s == SplitterId::Horz ? IDC_SIZENS : IDC_SIZEWE));
    return true;
}

void WindowModes::BeginSplitterDrag(int x, int y)
{
    dragging_ = SplitterAt(layout_, compact_, x, y);
    if (dragging_ == SplitterId::None)
        return;
    if (dragging_ == SplitterId::Vert1)
        RecordListRatio(modeState_, *adapter_);
    dragOffset_ = SplitterGrabOffset(layout_, dragging_, x, y);
    SetCapture(window_.handle);
}

void WindowModes::DragSplitter(int x, int y)
{
    if (dragging_ == SplitterId::None)
        return;
    const RECT client = ClientRect(window_.handle);
    panelSizes_ = corvane::DragSplitter(
        dragging_, x, y, dragOffset_, client.right, client.bottom, panelSizes_, modeState_.listRatio, dpi_);
    window_.relayout();
}

void WindowModes::EndSplitterDrag()
{
    const SplitterId ended = dragging_;
    dragging_ = SplitterId::None;
    ReleaseCapture();
    if (ended == SplitterId::Vert1)
        SplitterVert1Moved(modeState_, *adapter_);
    else if (ended == SplitterId::Horz)
        SplitterHorzMoved(*adapter_);
}

} // namespace corvane::win32
