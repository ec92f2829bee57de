#pragma once
// In-memory panel controls. A line edit raises its change event on every
// change of its text, as the real control does, also when the program sets it.
#include "platform/PanelControls.h"

#include <functional>
#include <string>

namespace corvane::fakes {

class FakeLineEdit : public ILineEdit {
public:
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override
    {
        if (text == text_)
            return;
        text_ = text;
        if (onChange)
            onChange();
    }
    std::function<void()> onChange;

private:
    std::string text_;
};

class FakeCheckBox : public ICheckBox {
public:
    bool Checked() const override { return checked_; }
    void SetChecked(bool checked) override { checked_ = checked; }

private:
    bool checked_ = false;
};

class FakeDropDownList : public IDropDownList {
public:
    explicit FakeDropDownList(int count) : count_(count) { }
    int SelectedIndex() const override { return selected_; }
    void Select(int index) override { selected_ = index >= 0 && index < count_ ? index : -1; }

private:
    int count_;
    int selected_ = -1;
};

} // namespace corvane::fakes
