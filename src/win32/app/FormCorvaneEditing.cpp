// Main window: the library editing commands, the tree's editing and drag
// notifications and the reply parameter panel, forwarded to TLibraryEditing.
#include "win32/app/FormCorvaneAdapters.h"

#include <commctrl.h>
#include <richedit.h>

#include "library/UnitCorvaneTypes.h"
#include "win32/TreeViewControl.h"
#include "win32/app/CommandIds.h"
#include "win32/app/Cursors.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kPanelSubclassId = 1;

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

void TFormCorvane::CreateEditing()
{
    nameEdit_ = std::make_unique<LineEditControl>(editName_);
    macroEdit_ = std::make_unique<LineEditControl>(editMacro_);
    hotKeyBox_ = std::make_unique<CheckBoxControl>(checkHotKey_);
    shiftBox_ = std::make_unique<CheckBoxControl>(checkShift_);
    keyList_ = std::make_unique<DropDownListControl>(comboKey_);
    replyContent_ = std::make_unique<RichEditControl>(editor_);
    editing_ = std::make_unique<TLibraryEditing>(
        *library_, fs_, TReplyPanel{*nameEdit_, *macroEdit_, *hotKeyBox_, *shiftBox_, *keyList_, *replyContent_});
    // The editor tells of every change of its content.
    const LRESULT mask = SendMessageA(editor_, EM_GETEVENTMASK, 0, 0);
    SendMessageA(editor_, EM_SETEVENTMASK, 0, mask | ENM_CHANGE);
    SubclassPanelControls();
    editing_->NavigationChange();
}

void TFormCorvane::DestroyEditing()
{
    // The library's nodes go after this; their notifications find no editing.
    editing_.reset();
}

void TFormCorvane::CommitEdits()
{
    if (editing_)
        editing_->CommitEdits();
}

bool TFormCorvane::RunEditingCommand(int id)
{
    if (!editing_)
        return false;
    switch (id) {
    case CmdAddFolder:
        editing_->NavAddFolderExecute();
        return true;
    case CmdAddReply:
        editing_->NavAddReplyExecute();
        return true;
    case CmdDelete:
        editing_->NavDeleteExecute();
        return true;
    case CmdSaveAll:
        editing_->EditorForceSaveExecute();
        return true;
    default:
        return false;
    }
}

void TFormCorvane::OnEditingControlCommand(int controlId, int code)
{
    if (!editing_)
        return;
    switch (controlId) {
    case IdEditName:
        if (code == EN_CHANGE)
            editing_->EditNameChange();
        else if (code == EN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdEditMacro:
        if (code == EN_CHANGE)
            editing_->EditMacroChange();
        else if (code == EN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdEditor:
        if (code == EN_CHANGE)
            editing_->EditorChange();
        else if (code == EN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdComboKey:
        if (code == CBN_SELCHANGE)
            editing_->ComboBoxKeyChange();
        else if (code == CBN_SETFOCUS)
            editing_->ControlEnter();
        break;
    case IdListMacros:
        if (code == LBN_SELCHANGE)
            editing_->ListMacrosClick();
        break;
    case IdListHotKeys:
        if (code == LBN_SELCHANGE)
            editing_->ListHotKeysClick();
        break;
    default:
        break;
    }
}

bool TFormCorvane::OnEditingNavigationNotify(const NMHDR& header, LRESULT& result)
{
    result = 0;
    if (!editing_)
        return false;
    switch (header.code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW:
        editing_->NavigationChanging(); // never vetoes
        return true;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        editing_->NavigationChange();
        IdleUpdate();
        return true;
    case TVN_ENDLABELEDITA: {
        const auto& edit = reinterpret_cast<const NMTVDISPINFOA&>(header);
        // Without text the edit was cancelled. The handler sets the label
        // itself, so the control keeps what it is given (FALSE).
        if (edit.item.pszText)
            editing_->NavigationEdited(edit.item.hItem, edit.item.pszText);
        return true;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
        BeginTreeDrag(reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.hItem);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- panel keys and clicks

void TFormCorvane::SubclassPanelControls()
{
    for (HWND control : {editName_, editMacro_, checkHotKey_, checkShift_})
        SetWindowSubclass(
            control, &TFormCorvane::PanelControlProc, kPanelSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TFormCorvane::PanelControlProc(
    HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* form = reinterpret_cast<TFormCorvane*>(self);
    const int controlId = GetDlgCtrlID(hwnd);
    try {
        switch (msg) {
        case WM_GETDLGCODE:
            // Enter belongs to the name and macro boxes.
            if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN
                && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
                return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
            break;
        case WM_CHAR:
            if (form->PanelKeyPress(controlId, static_cast<char>(wParam)))
                return 0;
            break;
        case WM_LBUTTONUP: {
            // The box toggles on the release; the handler comes after it.
            const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
            RECT client{};
            GetClientRect(hwnd, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&client, at))
                form->PanelLeftButtonUp(controlId);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &TFormCorvane::PanelControlProc, kPanelSubclassId);
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        MessageBoxA(GetAncestor(hwnd, GA_ROOT), e.what(), "Corvane", MB_OK | MB_ICONERROR);
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool TFormCorvane::PanelKeyPress(int controlId, char key)
{
    if (!editing_)
        return false;
    if (controlId == IdEditName)
        return editing_->EditNameKeyPress(key);
    if (controlId == IdEditMacro)
        return editing_->EditMacroKeyPress(key);
    return false;
}

void TFormCorvane::PanelLeftButtonUp(int controlId)
{
    if (!editing_)
        return;
    if (controlId == IdCheckHotKey)
        editing_->CheckBoxHotKeyMouseUp();
    else if (controlId == IdCheckShift)
        editing_->CheckBoxShiftMouseUp();
    IdleUpdate();
}

// ---------------------------------------------------------------- dragging inside the tree

void TFormCorvane::BeginTreeDrag(HTREEITEM item)
{
    // The dragged node is the selected one.
    if (tree_->Selected() != item)
        editing_->SelectNode(item);
    treeDragging_ = true;
    dropAccepted_ = false;
    dropTarget_ = nullptr;
    engine_->StartDrag();
    SetCapture(window_);
}

TDragStep TFormCorvane::FollowDragOut(int clientX, int clientY)
{
    const POINT at = ClientPointOf(window_, nullptr, clientX, clientY);
    POINT pointer{};
    GetCursorPos(&pointer);
    RECT own{};
    GetWindowRect(window_, &own);
    const TDragStep step = engine_->DragMove(
        {at.x, at.y, pointer.x, pointer.y, {own.left, own.top, own.right - own.left, own.bottom - own.top}});
    if (step.snap && PointerWarpKeepsDrag())
        SetCursorPos(step.snapX, step.snapY);
    return step;
}

bool TFormCorvane::OnTreeDragMouse(UINT msg, int x, int y)
{
    if (!treeDragging_)
        return false;
    if (msg == WM_LBUTTONUP) {
        EndTreeDrag(true);
        return true;
    }
    if (msg != WM_MOUSEMOVE)
        return true;
    // The capture brings every move of the drag here, outside the window too.
    const bool replyDropCursor = FollowDragOut(x, y).replyDropCursor;
    const POINT at = ClientPointOf(window_, navigation_, x, y);
    const RECT tree = ClientRect(navigation_);
    const int scroll = DragScrollDirection(at.x, at.y, tree.right, tree.bottom);
    if (scroll != 0)
        SendMessageA(navigation_, WM_VSCROLL, scroll < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    const TreeNode target = PtInRect(&tree, at) ? tree_->NodeAt(at.x, at.y) : nullptr;
    dropAccepted_ = editing_ && editing_->NavigationDragOver(target, true);
    dropTarget_ = dropAccepted_ ? target : nullptr;
    TreeView_SelectDropTarget(navigation_, Item(dropTarget_));
    if (replyDropCursor)
        SetCursor(CursorSlots().replyDrop);
    else
        SetCursor(dropAccepted_ ? LoadCursor(nullptr, IDC_ARROW) : CursorSlots().savedNoDrop);
    return true;
}

void TFormCorvane::EndTreeDrag(bool drop)
{
    if (!treeDragging_)
        return;
    treeDragging_ = false;
    const TreeNode target = dropTarget_;
    const bool accepted = drop && dropAccepted_;
    dropTarget_ = nullptr;
    TreeView_SelectDropTarget(navigation_, nullptr);
    if (GetCapture() == window_)
        ReleaseCapture();
    if (accepted && editing_)
        editing_->NavigationDragDrop(target);
    else if (drop)
        DropReplyOutside();
    engine_->EndDrag();
}

} // namespace corvane::win32
