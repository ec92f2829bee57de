#pragma once
// What the indexes need of a list box: text items, each carrying a pointer.
#include <string>

namespace corvane {

class IListBox {
public:
    virtual ~IListBox() = default;
    virtual void Clear() = 0;
    virtual void Add(const std::string& text, void* data) = 0;
    virtual int Count() const = 0;
    virtual std::string Text(int index) const = 0;
    virtual void* Data(int index) const = 0;
    virtual int SelectedIndex() const = 0; // -1 when nothing is selected
    virtual void Select(int index) = 0; // -1 clears the selection
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

} // namespace corvane
