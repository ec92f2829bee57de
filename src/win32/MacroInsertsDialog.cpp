#include "win32/MacroInsertsDialog.h"

#include <commctrl.h>

#include "shell/UnitGeometryRecords.h"
#include "shell/UnitSettings.h"
#include "win32/HtSysHookUtils.h"

namespace corvane::win32 {

namespace {

constexpr int kDesignWidth = 392, kDesignHeight = 132;
constexpr int kMinWidth = 200, kMinHeight = 120;
constexpr int kBottomPanel = 41;
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonTop = 8;
constexpr int kCheckWidth = 97, kCheckTop = 13;
constexpr int kRowHeight = 21, kRowGap = 10, kRowLeft = 5;
constexpr int IdCheckShow = 101;
constexpr int IdFirstRow = 200;

} // namespace

bool TFormMacroInserts::Ask(HWND owner, const std::string& parameterList, const TDialogPlace& place)
{
    names_ = ParameterRows(parameterList);
    place_ = place;
    values_.clear();
    started_ = false;
    const int rowsHeight = kRowLeft + static_cast<int>(names_.size()) * (kRowHeight + kRowGap);
    const INT_PTR result = Run(owner, nullptr, MacroInsCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        kDesignWidth, std::max(kDesignHeight, rowsHeight + kBottomPanel));
    rows_.clear();
    return result == IDOK;
}

void TFormMacroInserts::Cancel()
{
    if (Visible())
        End(IDCANCEL);
}

void TFormMacroInserts::OnStart()
{
    HWND dialog = Dialog();
    for (size_t i = 0; i < names_.size(); ++i) {
        HWND edit = AddControl("EDIT", names_[i].c_str(), WS_TABSTOP | ES_AUTOHSCROLL, IdFirstRow + static_cast<int>(i),
            0, 0, 10, kRowHeight, WS_EX_CLIENTEDGE);
        SetWindowSubclass(edit, &TFormMacroInserts::RowEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
        rows_.push_back(edit);
    }
    accept_ = AddControl("BUTTON", "Accept", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 0, 0, kButtonWidth, kButtonHeight);
    checkShow_
        = AddControl("BUTTON", "Show the Dialog", WS_TABSTOP | BS_AUTOCHECKBOX, IdCheckShow, 0, 0, kCheckWidth, 17);
    SendMessageA(checkShow_, BM_SETCHECK, ReadProgramFlag(registry_, kShowMacroIns) ? BST_CHECKED : BST_UNCHECKED, 0);

    // The stored size, then the place the route asks for.
    RECT r{};
    GetWindowRect(dialog, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (const auto stored = ReadGeometryValue(registry_, kMacroInsFormSettings))
        if (const auto size = DecodeDialogSize(stored->data);
            size && size->width >= kMinWidth && size->height >= kMinHeight)
            w = size->width, h = std::max(size->height, h);
    const TScreenPoint at = PlaceDialog(place_, w, h, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(dialog, HWND_TOPMOST, at.x, at.y, w, h, SWP_NOACTIVATE);
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
    int y = kRowLeft;
    for (HWND edit : rows_) {
        MoveWindow(edit, kRowLeft, y, client.right - 2 * kRowLeft, kRowHeight, TRUE);
        y += kRowHeight + kRowGap;
    }
    const int panelTop = client.bottom - kBottomPanel;
    MoveWindow(accept_, AcceptButtonLeft(client.right, kCheckWidth, kButtonWidth), panelTop + kButtonTop, kButtonWidth,
        kButtonHeight, TRUE);
    MoveWindow(checkShow_, client.right - kCheckWidth - 8, panelTop + kCheckTop, kCheckWidth, 17, TRUE);
}

void TFormMacroInserts::SaveSize()
{
    RECT r{};
    GetWindowRect(Dialog(), &r);
    const auto bytes = EncodeDialogSize({r.bottom - r.top, r.right - r.left});
    (void)WriteGeometryValue(registry_, kMacroInsFormSettings, bytes.data(), bytes.size());
}

void TFormMacroInserts::OnCommand(int id, int notification)
{
    if (id == IDOK) {
        std::vector<std::string> texts;
        for (HWND edit : rows_) {
            char text[1024] = {};
            GetWindowTextA(edit, text, sizeof text);
            texts.emplace_back(text);
        }
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
        info->ptMinTrackSize = {kMinWidth, kMinHeight};
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
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

} // namespace corvane::win32
