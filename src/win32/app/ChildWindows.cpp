#include "win32/app/ChildWindows.h"

#include <commctrl.h>

namespace corvane::win32 {

HWND ChildFactory::Create(const char* className, const char* text, DWORD style, int id, DWORD exStyle) const
{
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (child)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return child;
}

void MoveChild(HWND child, const LayoutRect& r)
{
    if (!child)
        return;
    const bool visible = r.w > 0 && r.h > 0;
    ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
    if (visible)
        MoveWindow(child, r.x, r.y, r.w, r.h, TRUE);
}

void EnableControl(HWND control, bool enabled)
{
    if (control && (IsWindowEnabled(control) != FALSE) != enabled)
        EnableWindow(control, enabled);
}

void EnableToolButton(HWND toolbar, int id, bool enabled)
{
    if (toolbar && (SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0) != enabled)
        SendMessageA(toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

RECT ClientRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

} // namespace corvane::win32
