#include "win32/ListBoxControl.h"

namespace corvane::win32 {

void ListBoxControl::Clear() { ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0); }

void ListBoxControl::Add(const std::string& text, void* data)
{
    const LRESULT index
        = ::SendMessageA(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0)
        ::SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(data));
}

int ListBoxControl::Count() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)); }

std::string ListBoxControl::Text(int index) const
{
    const LRESULT length = ::SendMessageA(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied
        = ::SendMessageA(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

void* ListBoxControl::Data(int index) const
{
    const LRESULT data = ::SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

int ListBoxControl::SelectedIndex() const
{
    const LRESULT selected = ::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void ListBoxControl::Select(int index) { ::SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListBoxControl::BeginUpdate()
{
    if (updateDepth_++ == 0)
        ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void ListBoxControl::EndUpdate()
{
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

} // namespace corvane::win32
