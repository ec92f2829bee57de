#pragma once
// IListBox over a LISTBOX window (not LBS_SORT: the indexes keep the order).
#include "platform/ListBox.h"

#include <windows.h>

namespace corvane::win32 {

class ListBoxControl : public IListBox {
public:
    explicit ListBoxControl(HWND listBox) : hwnd_(listBox) { }

    void Clear() override;
    void Add(const std::string& text, void* data) override;
    int Count() const override;
    std::string Text(int index) const override;
    void* Data(int index) const override;
    int SelectedIndex() const override;
    void Select(int index) override;
    void BeginUpdate() override;
    void EndUpdate() override;

    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
    int updateDepth_ = 0;
};

} // namespace corvane::win32
