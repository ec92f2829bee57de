#include "fakes/FakeListBox.h"

#include <stdexcept>

namespace corvane::fakes {

void FakeListBox::Clear()
{
    items_.clear();
    selected_ = -1;
    ++clearCount_;
}

void FakeListBox::Select(int index)
{
    if (index < -1 || index >= Count())
        throw std::out_of_range("list box selection out of range");
    selected_ = index;
}

std::vector<std::string> FakeListBox::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& item : items_)
        texts.push_back(item.first);
    return texts;
}

} // namespace corvane::fakes
