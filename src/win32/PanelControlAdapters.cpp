#include "win32/PanelControlAdapters.h"

namespace corvane::win32 {

std::string LineEditControl::Text() const
{
    const int length = ::GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void LineEditControl::SetText(const std::string& text)
{
    ::SetWindowTextA(hwnd_, text.c_str());
    // The caret after the text, where typing goes on.
    const auto end = static_cast<WPARAM>(text.size());
    ::SendMessageA(hwnd_, EM_SETSEL, end, static_cast<LPARAM>(end));
}

bool CheckBoxControl::Checked() const { return ::SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBoxControl::SetChecked(bool checked)
{
    ::SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int DropDownListControl::SelectedIndex() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }

void DropDownListControl::Select(int index) { ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

} // namespace corvane::win32
