#include "win32/PickerWindow.h"

#include <commctrl.h>

#include "library/IndexFormat.h"
#include "library/UnitCorvaneTypes.h"
#include "win32/DisplayDpi.h"
#include "win32/HtSysHookUtils.h"
#include "win32/Monitors.h"

namespace corvane::win32 {

namespace {

constexpr int kClientWidth = 620, kClientHeight = 420;
constexpr int kMargin = 8, kSearchHeight = 24, kListHeight = 220;
constexpr int IdSearch = 101, IdList = 102, IdPreview = 103;
// Posted to itself: the window takes the foreground once it is shown.
constexpr UINT kTakeForeground = WM_APP + 1;
// How often a picker that waits for its search asks for it.
constexpr UINT_PTR kWaitTimerId = 1;
constexpr UINT kWaitTimerInterval = 100;
constexpr int kColumnWidths[PickerColumnCount] = {150, 100, 120, 226};
constexpr const char* kColumnTitles[PickerColumnCount] = {"Name", "Macro", "Folder", "Text"};

std::optional<TPickerMove> MoveOfKey(WPARAM key)
{
    switch (key) {
    case VK_UP:
        return TPickerMove::Up;
    case VK_DOWN:
        return TPickerMove::Down;
    case VK_PRIOR:
        return TPickerMove::PageUp;
    case VK_NEXT:
        return TPickerMove::PageDown;
    default:
        return std::nullopt;
    }
}

} // namespace

TPicked TFormReplyPicker::Pick(HWND owner, HWND target, TReplyPicker& picker, SearchWhenReady whenReady)
{
    picker_ = &picker;
    whenReady_ = std::move(whenReady);
    target_ = target;
    chosen_ = nullptr;
    started_ = ended_ = left_ = false;
    Run(owner, nullptr, PickerCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU, kClientWidth, kClientHeight);
    preview_.reset();
    picker_ = nullptr;
    whenReady_ = nullptr;
    return {chosen_ ? chosen_->reply : nullptr, left_ && !chosen_};
}

void TFormReplyPicker::OnStart()
{
    const int width = kClientWidth - 2 * kMargin;
    searchBox_ = AddControl(
        "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IdSearch, kMargin, kMargin, width, kSearchHeight, WS_EX_CLIENTEDGE);
    SetWindowSubclass(searchBox_, &TFormReplyPicker::SearchBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    const int listTop = kMargin * 2 + kSearchHeight;
    list_ = AddControl(WC_LISTVIEWA, "", LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, IdList,
        kMargin, listTop, width, kListHeight, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    CreateColumns();
    const int previewTop = listTop + kListHeight + kMargin;
    HWND preview = AddControl("RichEdit20A", "", ES_MULTILINE | ES_READONLY | WS_VSCROLL, IdPreview, kMargin,
        previewTop, width, kClientHeight - previewTop - kMargin, WS_EX_CLIENTEDGE);
    ZoomTextToDpi(preview, WindowDpi(Dialog()));
    preview_.emplace(preview);
    started_ = true;
    ShowRows();
    if (picker_->Waiting())
        SetTimer(Dialog(), kWaitTimerId, kWaitTimerInterval, nullptr);
    SetWindowPos(Dialog(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PostMessageA(Dialog(), kTakeForeground, 0, 0);
}

TRect TFormReplyPicker::StartRect(const IMonitors& monitors, const TFrameStyle& style) const
{
    // Sized at the scale of the caret's monitor before it is placed there, so
    // that the size it is kept inside that monitor with is the size it has.
    const std::optional<TRect> caret = CaretOf(target_);
    const TMonitor monitor = MonitorFor(monitors, PlacementForCaret(caret, RectOf(target_)));
    const TWindowSize size = OuterSizeOn(monitors, monitor, style, {kClientWidth, kClientHeight});
    std::optional<TScreenRect> caretRect;
    if (caret)
        caretRect = TScreenRect{caret->left, caret->top, caret->right, caret->bottom};
    const TRect& work = monitor.work;
    const TScreenPoint at
        = PlacePicker(caretRect, {work.left, work.top, work.right, work.bottom}, size.width, size.height);
    return {at.x, at.y, at.x + size.width, at.y + size.height};
}

void TFormReplyPicker::CreateColumns()
{
    for (int c = 0; c < PickerColumnCount; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = Scaled(kColumnWidths[c]);
        column.pszText = const_cast<char*>(kColumnTitles[c]);
        column.iSubItem = c;
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
}

void TFormReplyPicker::ShowRows()
{
    // A waiting picker's one row is the notice.
    ListView_SetItemCountEx(list_, picker_->Waiting() ? 1 : picker_->RowCount(), 0);
    ShowSelection();
}

void TFormReplyPicker::TakeSearchWhenReady()
{
    std::optional<TReplySearch> search = whenReady_ ? whenReady_() : std::nullopt;
    if (!search)
        return;
    KillTimer(Dialog(), kWaitTimerId);
    picker_->SetSearch(std::move(*search));
    ShowRows();
}

void TFormReplyPicker::ShowSelection()
{
    const int row = picker_->Selected();
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row >= 0) {
        ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, row, FALSE);
    }
    InvalidateRect(list_, nullptr, FALSE);
    const TSearchEntry* entry = picker_->SelectedEntry();
    if (entry && entry->reply)
        preview_->LoadRtf(JoinTextLines(entry->reply->Lines));
    else
        preview_->Clear();
}

void TFormReplyPicker::Choose()
{
    chosen_ = picker_->SelectedEntry();
    if (chosen_ && !ended_) {
        ended_ = true;
        End(IDOK);
    }
}

void TFormReplyPicker::OnCommand(int id, int notification)
{
    if (id == IdSearch && notification == EN_CHANGE && started_) {
        char text[512] = {};
        GetWindowTextA(searchBox_, text, sizeof text);
        picker_->SetQuery(text);
        ShowRows();
    } else if (id == IDOK) {
        Choose();
    } else if (id == IDCANCEL && !ended_) {
        ended_ = true;
        End(IDCANCEL);
    }
}

bool TFormReplyPicker::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    if (msg == WM_TIMER && wParam == kWaitTimerId) {
        TakeSearchWhenReady();
        return true;
    }
    if (msg == kTakeForeground) {
        ForceForeground(GetForegroundWindow(), Dialog());
        SetFocus(searchBox_);
        return true;
    }
    // Leaving the window is closing it.
    if (msg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && started_ && !ended_) {
        ended_ = true;
        left_ = true;
        End(IDCANCEL);
        return false;
    }
    if (msg != WM_NOTIFY || !started_)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IdList)
        return false;
    if (header->code == LVN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (info->item.mask & LVIF_TEXT) {
            cellText_ = !picker_->Waiting()
                ? picker_->CellText(info->item.iItem, static_cast<TPickerColumn>(info->item.iSubItem))
                : info->item.iSubItem == PickerColumnName ? PickerStillReading
                                                          : "";
            lstrcpynA(info->item.pszText, cellText_.c_str(), info->item.cchTextMax);
        }
    } else if (header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uNewState & LVIS_SELECTED) && change->iItem != picker_->Selected() && change->iItem >= 0) {
            picker_->Select(change->iItem);
            ShowSelection();
        }
    } else if (header->code == NM_DBLCLK) {
        Choose();
    } else if (header->code == NM_CUSTOMDRAW) {
        result = TRUE;
        SetWindowLongPtrA(Dialog(), DWLP_MSGRESULT, ListDrawing(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
        return true;
    }
    result = 0;
    return true;
}

LRESULT TFormReplyPicker::ListDrawing(NMLVCUSTOMDRAW& draw) const
{
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    // The keyboard stays in the search box: the row Enter delivers is drawn
    // as selected in a list that has the focus, not in the faint grey of one
    // that has not.
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && static_cast<int>(draw.nmcd.dwItemSpec) == picker_->Selected()) {
        draw.nmcd.uItemState &= ~CDIS_SELECTED;
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

LRESULT CALLBACK TFormReplyPicker::SearchBoxProc(
    HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* form = reinterpret_cast<TFormReplyPicker*>(self);
    if (msg == WM_KEYDOWN) {
        if (const auto move = MoveOfKey(wParam)) {
            form->picker_->Move(*move, ListView_GetCountPerPage(form->list_));
            form->ShowSelection();
            return 0;
        }
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(edit, &TFormReplyPicker::SearchBoxProc, 1);
    return DefSubclassProc(edit, msg, wParam, lParam);
}

} // namespace corvane::win32
