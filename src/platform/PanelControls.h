#pragma once
// What the reply parameter panel needs of its controls: a one-line edit, a
// check box and a drop-down list without free typing.
#include <string>

namespace corvane {

class ILineEdit {
public:
    virtual ~ILineEdit() = default;
    virtual std::string Text() const = 0;
    // Like typing, setting the text raises the control's change event.
    virtual void SetText(const std::string& text) = 0;
};

class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

class IDropDownList {
public:
    virtual ~IDropDownList() = default;
    virtual int SelectedIndex() const = 0; // -1 when nothing is selected
    virtual void Select(int index) = 0;
};

} // namespace corvane
