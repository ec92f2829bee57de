#include "win32/app/TreeDrag.h"

#include <commctrl.h>

#include "editing/LibraryEditing.h"
#include "engine/Delivery.h"
#include "shell/MainLayout.h"
#include "win32/HtSysHookUtils.h"
#include "win32/Win32Desktop.h"
#include "win32/TreeViewControl.h"
#include "win32/app/ChildWindows.h"
#include "win32/app/Cursors.h"
#include "win32/app/LibraryPanel.h"

namespace corvane::win32 {

namespace {

HTREEITEM Item(TreeNode node) { return static_cast<HTREEITEM>(node); }

// Wine's pointer warp ends the X server's grab of the held button: the rest
// of the drag, its release included, never reaches the capturing window.
bool PointerWarpKeepsDrag()
{
    static const bool keeps = !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    return keeps;
}

POINT ClientPointOf(HWND from, HWND to, int x, int y)
{
    POINT p{x, y};
    MapWindowPoints(from, to, &p, 1);
    return p;
}

} // namespace

void TreeDrag::Begin()
{
    dragging_ = true;
    dropAccepted_ = false;
    dropTarget_ = nullptr;
    engine_.StartDrag();
    SetCapture(window_);
}

TDragStep TreeDrag::FollowDragOut(int clientX, int clientY)
{
    const POINT at = ClientPointOf(window_, nullptr, clientX, clientY);
    POINT pointer{};
    GetCursorPos(&pointer);
    const RECT own = WindowRect(window_);
    const TDragStep step = engine_.DragMove(
        {at.x, at.y, pointer.x, pointer.y, {own.left, own.top, own.right - own.left, own.bottom - own.top}});
    if (step.snap && PointerWarpKeepsDrag())
        SetCursorPos(step.snapX, step.snapY);
    return step;
}

bool TreeDrag::OnMouse(UINT msg, int x, int y)
{
    if (!dragging_)
        return false;
    if (msg == WM_LBUTTONUP) {
        End(true);
        return true;
    }
    if (msg != WM_MOUSEMOVE)
        return true;
    // The capture brings every move of the drag here, outside the window too.
    const bool replyDropCursor = FollowDragOut(x, y).replyDropCursor;
    const HWND tree = library_.Tree();
    const POINT at = ClientPointOf(window_, tree, x, y);
    const RECT client = ClientRect(tree);
    const int scroll = DragScrollDirection(at.x, at.y, client.right, client.bottom);
    if (scroll != 0)
        SendMessageA(tree, WM_VSCROLL, scroll < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    const TreeNode target = PtInRect(&client, at) ? library_.TreeControl()->NodeAt(at.x, at.y) : nullptr;
    TLibraryEditing* editing = library_.Editing();
    dropAccepted_ = editing && editing->NavigationDragOver(target, true);
    dropTarget_ = dropAccepted_ ? target : nullptr;
    TreeView_SelectDropTarget(tree, Item(library_.TreeControl()->ViewOf(dropTarget_)));
    if (replyDropCursor)
        SetCursor(CursorSlots().replyDrop);
    else
        SetCursor(dropAccepted_ ? LoadCursor(nullptr, IDC_ARROW) : CursorSlots().savedNoDrop);
    return true;
}

void TreeDrag::End(bool drop)
{
    if (!dragging_)
        return;
    dragging_ = false;
    const TreeNode target = dropTarget_;
    const bool accepted = drop && dropAccepted_;
    dropTarget_ = nullptr;
    TreeView_SelectDropTarget(library_.Tree(), nullptr);
    if (GetCapture() == window_)
        ReleaseCapture();
    TLibraryEditing* editing = library_.Editing();
    if (accepted && editing)
        editing->NavigationDragDrop(target);
    else if (drop)
        DropReplyOutside();
    engine_.EndDrag();
}

void TreeDrag::DropReplyOutside()
{
    POINT at{};
    GetCursorPos(&at);
    HWND target = TopLevelWindow(WindowFromPoint(at));
    engine_.DropSelectedReply(at.x, at.y, ToWindowId(target));
}

} // namespace corvane::win32
