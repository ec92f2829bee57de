#pragma once
// Keys synthesised while the user still holds a modifier reach the target
// with it: Shift held over the space would turn Ctrl+V into Ctrl+Shift+V.
// For the life of this object every modifier key the user holds is let go,
// and afterwards the same keys, left and right apart, are pressed again.
#include <vector>

#include "platform/Desktop.h"

namespace corvane {

class THeldModifiersLetGo {
public:
    explicit THeldModifiersLetGo(IDesktop& desktop);
    ~THeldModifiersLetGo();
    THeldModifiersLetGo(const THeldModifiersLetGo&) = delete;
    THeldModifiersLetGo& operator=(const THeldModifiersLetGo&) = delete;

private:
    IDesktop& desktop_;
    std::vector<int> released_;
};

} // namespace corvane
