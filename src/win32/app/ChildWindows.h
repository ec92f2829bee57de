#pragma once
// What every part of the main window does with its child windows: create them
// with the window's font, move them to their layout rectangle (hidden when it
// is empty), and enable them only when the state changes.
#include <windows.h>

#include "shell/MainLayout.h"

namespace corvane::win32 {

// Creates the children of one parent window, in the parent's message font.
class ChildFactory {
public:
    ChildFactory(HWND parent, HINSTANCE instance, HFONT font, int dpi)
        : parent_(parent), instance_(instance), font_(font), dpi_(dpi)
    { }

    HWND Create(const char* className, const char* text, DWORD style, int id, DWORD exStyle = 0) const;
    HWND Parent() const { return parent_; }
    HINSTANCE Instance() const { return instance_; }
    // The parent's DPI, which the children's sizes and pictures follow.
    int Dpi() const { return dpi_; }

private:
    HWND parent_;
    HINSTANCE instance_;
    HFONT font_;
    int dpi_;
};

void MoveChild(HWND child, const LayoutRect& r);
void EnableControl(HWND control, bool enabled);
void EnableToolButton(HWND toolbar, int id, bool enabled);
RECT ClientRect(HWND window);
RECT WindowRect(HWND window);

} // namespace corvane::win32
