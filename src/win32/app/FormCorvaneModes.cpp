// Main window: Full and Compact mode, stored geometry, splitters, activation.
#include "win32/app/FormCorvaneAdapters.h"

#include <commctrl.h>

#include "shell/UnitSettings.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

namespace {

constexpr int kChooseByMinSize = 170;
constexpr int kMacrosMinSize = 15;

} // namespace

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

void TFormCorvane::ToggleModeCommand() { ToggleMode(modeState_, *modeWindow_, registry_); }

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
        : dragging_ == Splitter::Vert2                 ? layout_.splitterVert2
                                                       : layout_.splitterHorz;
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
        panelSizes_.macrosWidth
            = std::clamp(x - dragOffset_ - layout_.chooseBy.x, kMacrosMinSize, std::max(kMacrosMinSize, maxWidth));
        break;
    }
    case Splitter::Horz: {
        const int upper = std::max(kSplitterHorzMinSize, y - dragOffset_);
        panelSizes_.lowerHeight
            = std::max(kSplitterHorzMinSize, static_cast<int>(client.bottom) - upper - kSplitterThickness);
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

} // namespace corvane::win32
