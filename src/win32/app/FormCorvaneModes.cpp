// Main window: Full and Compact mode, stored geometry, splitters, activation.
#include "win32/app/FormCorvaneAdapters.h"

#include <commctrl.h>

#include "shell/UnitSettings.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

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

void TFormCorvane::ToggleModeCommand() { ReportSettingsNotSaved(ToggleMode(modeState_, *modeWindow_, registry_)); }

void TFormCorvane::OnMinMaxInfo(MINMAXINFO& info) const
{
    info.ptMinTrackSize.x = minWidth_;
    info.ptMinTrackSize.y = minHeight_;
}

bool TFormCorvane::SetSplitterCursor()
{
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(window_, &p);
    const SplitterId s = dragging_ != SplitterId::None ? dragging_ : SplitterAt(layout_, compact_, p.x, p.y);
    if (s == SplitterId::None)
        return false;
    SetCursor(LoadCursor(nullptr, s == SplitterId::Horz ? IDC_SIZENS : IDC_SIZEWE));
    return true;
}

void TFormCorvane::BeginSplitterDrag(int x, int y)
{
    dragging_ = SplitterAt(layout_, compact_, x, y);
    if (dragging_ == SplitterId::None)
        return;
    if (dragging_ == SplitterId::Vert1)
        RecordListRatio(modeState_, *modeWindow_);
    dragOffset_ = SplitterGrabOffset(layout_, dragging_, x, y);
    SetCapture(window_);
}

void TFormCorvane::DragSplitter(int x, int y)
{
    if (dragging_ == SplitterId::None)
        return;
    const RECT client = ClientRect(window_);
    panelSizes_ = corvane::DragSplitter(
        dragging_, x, y, dragOffset_, client.right, client.bottom, panelSizes_, modeState_.listRatio);
    LayoutControls();
}

void TFormCorvane::EndSplitterDrag()
{
    const SplitterId ended = dragging_;
    dragging_ = SplitterId::None;
    ReleaseCapture();
    if (ended == SplitterId::Vert1)
        SplitterVert1Moved(modeState_, *modeWindow_);
    else if (ended == SplitterId::Horz)
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
