#pragma once
// The panel's control interfaces over an EDIT, a BUTTON check box and a
// drop-down COMBOBOX.
#include "platform/PanelControls.h"

#include <windows.h>

namespace corvane::win32 {

class LineEditControl : public ILineEdit {
public:
    explicit LineEditControl(HWND edit) : hwnd_(edit) { }
    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    HWND hwnd_;
};

class CheckBoxControl : public ICheckBox {
public:
    explicit CheckBoxControl(HWND button) : hwnd_(button) { }
    bool Checked() const override;
    void SetChecked(bool checked) override;

private:
    HWND hwnd_;
};

class DropDownListControl : public IDropDownList {
public:
    explicit DropDownListControl(HWND combo) : hwnd_(combo) { }
    int SelectedIndex() const override;
    void Select(int index) override;

private:
    HWND hwnd_;
};

} // namespace corvane::win32
