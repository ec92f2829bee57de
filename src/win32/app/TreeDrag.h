#pragma once
// A node dragged from the tree: dropped on another node it moves there
// (library editing); released outside the main window it delivers the reply
// there (the engine). The window captures the mouse for the drag's length.
#include <windows.h>

#include "engine/DragOut.h"
#include "platform/TreeControl.h"

namespace corvane {
class TEngine;
}

namespace corvane::win32 {

class LibraryPanel;

class TreeDrag {
public:
    TreeDrag(HWND window, LibraryPanel& library, TEngine& engine) : window_(window), library_(library), engine_(engine)
    { }

    void Begin();
    bool Active() const { return dragging_; }
    // Mouse messages while a node is dragged; true when one was.
    bool OnMouse(UINT msg, int x, int y);
    void End(bool drop);

private:
    // The engine's part of a move: the pointer set back onto the border when
    // it asks so; tells which cursor to show.
    TDragStep FollowDragOut(int clientX, int clientY);
    // A reply released outside the main window.
    void DropReplyOutside();

    HWND window_;
    LibraryPanel& library_;
    TEngine& engine_;
    bool dragging_ = false;
    bool dropAccepted_ = false;
    TreeNode dropTarget_ = nullptr;
};

} // namespace corvane::win32
