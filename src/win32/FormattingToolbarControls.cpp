#include "win32/FormattingToolbarControls.h"

#include <commctrl.h>

namespace corvane::win32 {

void FormattingToolbarControls::Check(int id, bool down) const
{
    SendMessageA(toolbar_, TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELPARAM(down ? TRUE : FALSE, 0));
}

void FormattingToolbarControls::SetStyleDown(StyleButton button, bool down)
{
    switch (button) {
    case StyleButton::Bold:
        Check(ids_.bold, down);
        break;
    case StyleButton::Italic:
        Check(ids_.italic, down);
        break;
    case StyleButton::Underline:
        Check(ids_.underline, down);
        break;
    }
}

void FormattingToolbarControls::SetAlignmentDown(Alignment alignment)
{
    Check(ids_.left, alignment == Alignment::Left);
    Check(ids_.center, alignment == Alignment::Center);
    Check(ids_.right, alignment == Alignment::Right);
}

void FormattingToolbarControls::SetFontNameText(const std::string& text) { SetWindowTextA(fontName_, text.c_str()); }

void FormattingToolbarControls::SetFontSizeText(const std::string& text) { SetWindowTextA(fontSize_, text.c_str()); }

void FormattingToolbarControls::SetFontNames(const std::vector<std::string>& names)
{
    SendMessageA(fontName_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(fontName_, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
        SendMessageA(fontName_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(fontName_, WM_SETREDRAW, TRUE, 0);
}

} // namespace corvane::win32
