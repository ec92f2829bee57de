#pragma once
// The columns of command buttons beside the tree (add, delete) and below it
// (save, the two delivery routes); their tooltips are the commands' hints.
#include <windows.h>

#include <deque>
#include <span>
#include <string>

#include "shell/CommandTable.h"
#include "shell/UnitIdleUpdate.h"
#include "win32/Handles.h"

namespace corvane {
struct MainLayout;
}

namespace corvane::win32 {

class ChildFactory;

class ButtonColumns {
public:
    void Create(const ChildFactory& children);
    // Pictures and button sizes for a display of `dpi`.
    void ApplyDpi(HINSTANCE instance, int dpi);
    void Layout(const MainLayout& layout);
    void ApplyCommandStates(const TCommandStates& states);
    // PanelBottomBar's bottom: the delivery buttons.
    HWND DeliveryColumn() const { return delivery_; }

private:
    HWND CreateColumn(const ChildFactory& children, std::span<const CommandId> buttons);

    UniqueImageList images_;
    std::deque<std::string> hints_; // the columns keep pointers to these
    HWND nav_ = nullptr; // PanelNavButs
    HWND save_ = nullptr; // PanelBottomBar, top
    HWND delivery_ = nullptr;
};

} // namespace corvane::win32
