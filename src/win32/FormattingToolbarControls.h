#pragma once
// IFormattingToolbar over the toolbar's buttons, the font-name combo box and
// the font-size edit box.
#include "platform/FormattingToolbar.h"

#include <windows.h>

namespace corvane::win32 {

struct FormattingButtonIds {
    int bold, italic, underline;
    int left, center, right;
};

class FormattingToolbarControls : public IFormattingToolbar {
public:
    FormattingToolbarControls(HWND toolbar, HWND fontName, HWND fontSize, FormattingButtonIds ids)
        : toolbar_(toolbar), fontName_(fontName), fontSize_(fontSize), ids_(ids)
    { }

    void SetStyleDown(StyleButton button, bool down) override;
    void SetAlignmentDown(Alignment alignment) override;
    void SetFontNameText(const std::string& text) override;
    void SetFontSizeText(const std::string& text) override;
    void SetFontNames(const std::vector<std::string>& names) override;

private:
    void Check(int id, bool down) const;

    HWND toolbar_;
    HWND fontName_;
    HWND fontSize_;
    FormattingButtonIds ids_;
};

} // namespace corvane::win32
