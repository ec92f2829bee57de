#include "win32/ModalDialog.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "library/Texts.h"
#include "shell/MainLayout.h"
#include "win32/DisplayDpi.h"
#include "win32/Monitors.h"

namespace corvane::win32 {

namespace {

// DLGTEMPLATE followed by menu, class, title and font, with no items.
std::vector<WORD> EmptyTemplate(DWORD style, const std::string& caption)
{
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(t.data());
    header->style = style | DS_SETFONT | DS_MODALFRAME;
    header->cdit = 0;
    t.push_back(0); // no menu
    t.push_back(0); // the standard dialog class
    for (unsigned char c : caption)
        t.push_back(c); // ANSI captions of the program are plain ASCII
    t.push_back(0);
    t.push_back(8); // point size
    for (char c : std::string("MS Shell Dlg"))
        t.push_back(static_cast<WORD>(c));
    t.push_back(0);
    return t;
}

} // namespace

INT_PTR ModalDialog::Run(
    HWND owner, HWND centreOn, const std::string& caption, DWORD style, int clientWidth, int clientHeight)
{
    owner_ = owner;
    centreOn_ = centreOn;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    // DLGTEMPLATE must be DWORD aligned; a vector of WORDs is allocated so.
    const auto t = EmptyTemplate(style, caption);
    return ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()), owner,
        &ModalDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND ModalDialog::AddControl(
    const char* className, const char* text, DWORD style, int id, int x, int y, int width, int height, DWORD exStyle)
{
    HWND control = ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, Scaled(x), Scaled(y),
        Scaled(width), Scaled(height), dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(control, WM_SETFONT, ::SendMessageA(dialog_, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void ModalDialog::End(INT_PTR result) { ::EndDialog(dialog_, result); }

int ModalDialog::Scaled(int pixels) const { return ScaleToDpi(pixels, WindowDpi(dialog_)); }

int ModalDialog::Unscaled(int pixels) const { return ConvertDpi(pixels, WindowDpi(dialog_), kBaseDpi); }

bool ModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

TRect ModalDialog::StartRect(const IMonitors& monitors, const TFrameStyle& style) const
{
    TPlacement place;
    if (HWND anchor = centreOn_ ? centreOn_ : owner_) {
        place = {TPlacement::OverRect, RectOf(anchor)};
    } else {
        // Nothing to belong to: the monitor the user works on.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        place = {TPlacement::MonitorOfPoint, {}, cursor.x, cursor.y};
    }
    return DialogRect(monitors, place, style, {clientWidth_, clientHeight_});
}

void ModalDialog::MoveToStart()
{
    // Moved before the controls are made, so that they are made at the DPI
    // of the monitor the dialog opens on.
    MoveToRect(dialog_, StartRect(Win32Monitors(), FrameStyleOf(dialog_)));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        reinterpret_cast<ModalDialog*>(lParam)->dialog_ = hwnd;
    }
    auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    try {
        return self->Handle(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ::MessageBoxA(hwnd, e.what(), kCaptionError, MB_ICONERROR | MB_OK);
    } catch (...) {
        ::MessageBoxA(hwnd, kUnexpectedError, kCaptionError, MB_ICONERROR | MB_OK);
    }
    return FALSE;
}

INT_PTR ModalDialog::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result = FALSE;
    if (OnMessage(msg, wParam, lParam, result))
        return result;
    switch (msg) {
    case WM_INITDIALOG:
        MoveToStart();
        OnStart();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        OnCommand(IDCANCEL, BN_CLICKED);
        return TRUE;
    case WM_NCDESTROY:
        dialog_ = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace corvane::win32
