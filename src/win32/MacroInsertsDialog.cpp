#include "win32/MacroInsertsDialog.h"

#include <commctrl.h>

#include "shell/UnitGeometryRecords.h"
#include "shell/UnitSettings.h"
#include "shell/MainLayout.h"
#include "win32/DisplayDpi.h"
#include "win32/HtSysHookUtils.h"
#include "win32/Monitors.h"
#include "win32/PanelControlAdapters.h"

namespace corvane::win32 {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr int kDesignWidth = 392, kDesignHeight = 132;
constexpr int kMinWidth = 200, kMinHeight = 120;
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonTop = 8;
constexpr int kCheckWidth = 97, kCheckTop = 13;
constexpr int kRowLeft = 5;
constexpr int IdCheckShow = 101;
constexpr int IdScrollBox = 102;
constexpr int IdFirstRow = 200;

} // namespace

bool TFormMacroInserts::Ask(HWND owner, const std::string& parameterList, const TDialogPlace& place)
{
    names_ = ParameterRows(parameterList);
    place_ = place;
    values_.clear();
    started_ = false;
    scroll_ = 0;
    const INT_PTR result = Run(owner, nullptr, MacroInsCaption, kDialogStyle, kDesignWidth, kDesignHeight);
    rows_.clear();
    scrollBox_ = nullptr;
    return result == IDOK;
}

void TFormMacroInserts::Cancel()
{
    if (Visible())
        End(IDCANCEL);
}

TPlacement TFormMacroInserts::Placement() const
{
    if (place_.kind == TDialogPlace::AroundPoint)
        return {TPlacement::AroundPoint, {}, place_.x, place_.y};
    HWND target = GetForegroundWindow();
    if (!target)
        target = Owner();
    const TRect window = RectOf(target);
    const std::optional<TRect> caret = CaretOf(target);
    const TRect& at = caret ? *caret : window;
    return {TPlacement::MonitorOfPoint, {}, (at.left + at.right) / 2, (at.top + at.bottom) / 2};
}

TRect TFormMacroInserts::StartRect(const IMonitors& monitors, const TFrameStyle& style) const
{
    const TPlacement place = Placement();
    const TMonitor monitor = MonitorFor(monitors, place);
    TWindowSize size = OuterSizeOn(monitors, monitor, style, {kDesignWidth, kDesignHeight});
    if (const auto stored = ReadGeometryValue(registry_, kMacroInsFormSettings))
        if (const auto record = DecodeDialogSize(stored->data))
            if (const auto usable = StoredSizeOn({record->width, record->height},
                    ReadGeometryDpi(registry_, kMacroInsFormDpi), monitor, {kMinWidth, kMinHeight}))
                size = *usable;
    // Every row while the monitor has room for them; the scroll box shows the rest.
    const TWindowSize needed = OuterSizeOn(
        monitors, monitor, style, {kDesignWidth, RowsHeight(static_cast<int>(names_.size())) + kMacroInsBottomPanel});
    size.height = ParametersDialogHeight(size.height, needed.height, monitor.work.Height());
    return PlaceOnMonitor(monitor, place, size);
}

void TFormMacroInserts::OnStart()
{
    HWND dialog = Dialog();
    // Tabbing goes through the rows inside the box as through the dialog's own controls.
    scrollBox_ = AddControl("STATIC", "", WS_VSCROLL | WS_CLIPCHILDREN, IdScrollBox, 0, 0, kDesignWidth, kDesignHeight,
        WS_EX_CONTROLPARENT);
    SetWindowSubclass(scrollBox_, &TFormMacroInserts::ScrollBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    const WPARAM font = static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    for (size_t i = 0; i < names_.size(); ++i) {
        HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", names_[i].c_str(),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 10, kMacroInsRowHeight, scrollBox_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdFirstRow + static_cast<int>(i))), GetModuleHandleA(nullptr),
            nullptr);
        SendMessageA(edit, WM_SETFONT, font, FALSE);
        SetWindowSubclass(edit, &TFormMacroInserts::RowEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
        rows_.push_back(edit);
    }
    accept_ = AddControl("BUTTON", "Accept", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 0, 0, kButtonWidth, kButtonHeight);
    checkShow_
        = AddControl("BUTTON", "Show the Dialog", WS_TABSTOP | BS_AUTOCHECKBOX, IdCheckShow, 0, 0, kCheckWidth, 17);
    SendMessageA(checkShow_, BM_SETCHECK, ReadProgramFlag(registry_, kShowMacroIns) ? BST_CHECKED : BST_UNCHECKED, 0);

    // Sized and placed before its controls were made.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT r{};
    started_ = true;
    Relayout();
    ForceForeground(GetForegroundWindow(), dialog);
    GetWindowRect(dialog, &r);
    SetCursorPos(r.left + (r.right - r.left) / 2, r.top + 20);
    if (!rows_.empty()) {
        SetFocus(rows_.front());
        SendMessageA(rows_.front(), EM_SETSEL, 0, -1);
    }
}

void TFormMacroInserts::Relayout()
{
    if (!started_)
        return;
    RECT client{};
    GetClientRect(Dialog(), &client);
    const int panelTop = client.bottom - Scaled(kMacroInsBottomPanel);
    const int checkWidth = Scaled(kCheckWidth), buttonWidth = Scaled(kButtonWidth);
    MoveWindow(scrollBox_, 0, 0, client.right, std::max(0, panelTop), TRUE);
    MoveWindow(accept_, AcceptButtonLeft(client.right, checkWidth, buttonWidth), panelTop + Scaled(kButtonTop),
        buttonWidth, Scaled(kButtonHeight), TRUE);
    MoveWindow(
        checkShow_, client.right - checkWidth - Scaled(8), panelTop + Scaled(kCheckTop), checkWidth, Scaled(17), TRUE);
    ScrollRowsTo(scroll_);
}

void TFormMacroInserts::ScrollRowsTo(int position)
{
    RECT box{};
    GetClientRect(scrollBox_, &box);
    const TRowsScroll rows{Scaled(RowsHeight(static_cast<int>(rows_.size()))), box.bottom};
    scroll_ = rows.Clamp(position);
    SCROLLINFO info{
        sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, rows.content - 1, static_cast<UINT>(rows.view), scroll_, 0};
    SetScrollInfo(scrollBox_, SB_VERT, &info, TRUE);
    // The scroll bar may have come or gone: the rows take the width left.
    GetClientRect(scrollBox_, &box);
    for (size_t i = 0; i < rows_.size(); ++i)
        MoveWindow(rows_[i], Scaled(kRowLeft), Scaled(RowTop(static_cast<int>(i))) - scroll_,
            box.right - 2 * Scaled(kRowLeft), Scaled(kMacroInsRowHeight), TRUE);
}

void TFormMacroInserts::SaveSize()
{
    RECT r{};
    GetWindowRect(Dialog(), &r);
    const auto bytes = EncodeDialogSize({r.bottom - r.top, r.right - r.left});
    // The size is in the pixels of the monitor it was taken on: its DPI goes beside it.
    (void)(WriteGeometryValue(registry_, kMacroInsFormSettings, bytes.data(), bytes.size())
        && SettingsWriteInt(registry_, RegRoot::CurrentUser, kProgramKey, kMacroInsFormDpi, WindowDpi(Dialog())));
}

void TFormMacroInserts::OnCommand(int id, int notification)
{
    if (id == IDOK) {
        std::vector<std::string> texts;
        for (HWND edit : rows_)
            texts.push_back(LineEditControl(edit).Text());
        values_ = JoinValues(texts);
        End(IDOK);
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    } else if (id == IdCheckShow && notification == BN_CLICKED) {
        (void)WriteProgramFlag(registry_, kShowMacroIns, SendMessageA(checkShow_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
}

bool TFormMacroInserts::OnMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR& result)
{
    if (msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        // The minimum at the dialog's scale, the maximum its monitor's work area.
        const TRect work = MonitorOfWindow(Dialog()).work;
        info->ptMinTrackSize = {Scaled(kMinWidth), Scaled(kMinHeight)};
        info->ptMaxTrackSize = {work.Width(), work.Height()};
        result = 0;
        return true;
    }
    if (msg == WM_SIZE && started_) {
        Relayout();
        SaveSize();
    }
    return false;
}

LRESULT CALLBACK TFormMacroInserts::RowEditProc(
    HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* form = reinterpret_cast<TFormMacroInserts*>(self);
    if (msg == WM_LBUTTONUP) {
        const LRESULT handled = DefSubclassProc(edit, msg, wParam, lParam);
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (form->selectRule_.MouseUp(start != end))
            SendMessageA(edit, EM_SETSEL, 0, -1);
        return handled;
    }
    if (msg == WM_KILLFOCUS)
        form->selectRule_.Exit();
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(edit, &TFormMacroInserts::RowEditProc, 1);
    return DefSubclassProc(edit, msg, wParam, lParam);
}

LRESULT CALLBACK TFormMacroInserts::ScrollBoxProc(
    HWND box, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* form = reinterpret_cast<TFormMacroInserts*>(self);
    RECT view{};
    GetClientRect(box, &view);
    switch (msg) {
    case WM_VSCROLL: {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(box, SB_VERT, &info);
        const int line = form->Scaled(kMacroInsRowHeight + kMacroInsRowGap);
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            form->ScrollRowsBy(-line);
            break;
        case SB_LINEDOWN:
            form->ScrollRowsBy(line);
            break;
        case SB_PAGEUP:
            form->ScrollRowsBy(-view.bottom);
            break;
        case SB_PAGEDOWN:
            form->ScrollRowsBy(view.bottom);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            form->ScrollRowsTo(info.nTrackPos);
            break;
        case SB_TOP:
            form->ScrollRowsTo(0);
            break;
        case SB_BOTTOM:
            form->ScrollRowsTo(form->Scaled(RowsHeight(static_cast<int>(form->rows_.size()))));
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        form->ScrollRowsBy(
            -GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * form->Scaled(kMacroInsRowHeight + kMacroInsRowGap));
        return 0;
    case WM_COMMAND:
        // A row that takes the focus comes into view.
        if (HIWORD(wParam) == EN_SETFOCUS) {
            const int row = LOWORD(wParam) - IdFirstRow;
            // The rows' rule works in 96-DPI pixels.
            const TRowsScroll rows{RowsHeight(static_cast<int>(form->rows_.size())), form->Unscaled(view.bottom)};
            form->ScrollRowsTo(form->Scaled(rows.ShowingRow(row, form->Unscaled(form->scroll_))));
        }
        return SendMessageA(GetParent(box), msg, wParam, lParam);
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, &TFormMacroInserts::ScrollBoxProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, msg, wParam, lParam);
}

} // namespace corvane::win32
