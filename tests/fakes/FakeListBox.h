#pragma once
// An in-memory list box: text items with data pointers and one selection.
#include "platform/ListBox.h"

#include <string>
#include <utility>
#include <vector>

namespace corvane::fakes {

class FakeListBox : public IListBox {
public:
    void Clear() override;
    void Add(const std::string& text, void* data) override { items_.emplace_back(text, data); }
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Text(int index) const override { return items_.at(static_cast<size_t>(index)).first; }
    void* Data(int index) const override { return items_.at(static_cast<size_t>(index)).second; }
    int SelectedIndex() const override { return selected_; }
    void Select(int index) override;
    void BeginUpdate() override { ++updateDepth_; }
    void EndUpdate() override { --updateDepth_; }

    // Test helpers.
    std::vector<std::string> Texts() const;
    int ClearCount() const { return clearCount_; }
    int UpdateDepth() const { return updateDepth_; }

private:
    std::vector<std::pair<std::string, void*>> items_;
    int selected_ = -1;
    int clearCount_ = 0;
    int updateDepth_ = 0;
};

} // namespace corvane::fakes
