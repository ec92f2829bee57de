// Main window: the idle-time enabling of commands and controls.
#include "win32/app/FormCorvane.h"

#include <commctrl.h>
#include <richedit.h>

#include <string>

#include "library/UnitCommonProcs.h"
#include "engine/Delivery.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitShortcuts.h"
#include "win32/RichEditContent.h"
#include "win32/TreeViewControl.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

namespace {

void EnableControl(HWND control, bool enabled)
{
    if (control && (IsWindowEnabled(control) != FALSE) != enabled)
        EnableWindow(control, enabled);
}

void EnableToolButton(HWND toolbar, int id, bool enabled)
{
    if (toolbar && (SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0) != enabled)
        SendMessageA(toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void EnableCommand(HMENU menu, UINT id, bool enabled)
{
    if (menu)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool IsTextControl(HWND window)
{
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    return lstrcmpiA(cls, "Edit") == 0 || lstrcmpiA(cls, RICHEDIT_CLASSA) == 0;
}

bool PutTextOnClipboard(HWND owner, const std::string& text)
{
    const ClipboardItem item{CF_TEXT, &text};
    return PutOnClipboard(owner, &item, 1);
}

} // namespace

bool TFormCorvane::TranslateShortcut(MSG& msg)
{
    if (!accelerators_ || !window_)
        return false;
    // The name, macro and editor boxes keep their own editing keys.
    const TKeyStroke key{static_cast<unsigned>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
        GetKeyState(VK_MENU) < 0};
    const bool inWindow = msg.hwnd == window_ || IsChild(window_, msg.hwnd);
    if ((msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP) && inWindow && IsMenuBarKey(key)) {
        // Opened on the press; the release is swallowed so that nothing
        // toggles the menu a second time.
        if (msg.message == WM_SYSKEYDOWN)
            PostMessageA(window_, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return true;
    }
    if (msg.message == WM_KEYDOWN && inWindow && IsTextControl(msg.hwnd) && IsTextEditingKey(key))
        return false;
    return TranslateAcceleratorA(window_, accelerators_.Get(), &msg) != 0;
}

void TFormCorvane::ForwardToFocusedText(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus) && IsTextControl(focus))
        SendMessageA(focus, message, wParam, lParam);
}

void TFormCorvane::NavCtxCopyExecute()
{
    if (GetFocus() == navigation_ && tree_ && tree_->Selected())
        PutTextOnClipboard(window_, tree_->Label(tree_->Selected()));
}

void TFormCorvane::ShowNavPopup(int screenX, int screenY)
{
    IdleUpdate();
    UniqueMenu popup(CreatePopupMenu());
    AppendMenuA(popup.Get(), MF_STRING | (commandStates_.copyName ? 0 : MF_GRAYED), CmdCopyName,
        "Copy the name into the clipboard\tCtrl+C");
    AppendMenuA(popup.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup.Get(), MF_STRING | (commandStates_.deleteNode ? 0 : MF_GRAYED), CmdDelete, "Delete\tShift+Del");
    TrackPopupMenu(popup.Get(), TPM_RIGHTBUTTON, screenX, screenY, 0, window_, nullptr);
}

void TFormCorvane::OnTreeRightClick()
{
    // The node under the cursor becomes the selected one, as a user expects.
    POINT at{};
    GetCursorPos(&at);
    TVHITTESTINFO hit{};
    hit.pt = at;
    ScreenToClient(navigation_, &hit.pt);
    if (HTREEITEM item = TreeView_HitTest(navigation_, &hit))
        TreeView_SelectItem(navigation_, item);
    SetFocus(navigation_);
    ShowNavPopup(at.x, at.y);
}

TRep* TFormCorvane::SelectedRep() const
{
    if (!library_ || !tree_)
        return nullptr;
    return library_->RepOf(tree_->Selected());
}

SelectedNode TFormCorvane::SelectedKind() const
{
    const TreeNode node = tree_ ? tree_->Selected() : nullptr;
    if (!node)
        return SelectedNode::None;
    // The window tells folders from replies by their children.
    return tree_->ChildCount(node) > 0 ? SelectedNode::Folder : SelectedNode::Reply;
}

TIdleInput TFormCorvane::CollectIdleInput() const
{
    TIdleInput in;
    const HWND focus = GetFocus();
    in.fullMode = !compact_;
    in.selected = SelectedKind();
    in.treeFocused = focus == navigation_;
    in.hotKeyChecked = SendMessageA(checkHotKey_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    in.editorFocused = focus == editor_;
    if (in.editorFocused) {
        CHARRANGE range{};
        SendMessageA(editor_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        in.editorHasSelection = range.cpMax != range.cpMin;
        in.editorCanPaste = SendMessageA(editor_, EM_CANPASTE, 0, 0) != 0;
        in.editorCanUndo = SendMessageA(editor_, EM_CANUNDO, 0, 0) != 0;
        in.editorCanRedo = SendMessageA(editor_, EM_CANREDO, 0, 0) != 0;
    }
    in.lastActiveWindowValid = engine_ && IsWindow(reinterpret_cast<HWND>(engine_->LastActiveWindow()));
    return in;
}

void TFormCorvane::IdleUpdate()
{
    if (!window_)
        return;
    commandStates_ = corvane::IdleUpdate(CollectIdleInput(), commandStates_);
    ApplyCommandStates(commandStates_);
}

void TFormCorvane::ApplyCommandStates(const TCommandStates& s)
{
    HMENU menu = GetMenu(window_);
    EnableCommand(menu, CmdAddFolder, s.addFolder);
    EnableCommand(menu, CmdAddReply, s.addReply);
    EnableCommand(menu, CmdDelete, s.deleteNode);
    EnableCommand(menu, CmdSaveAll, s.saveAll);
    EnableCommand(menu, CmdUndo, s.undo);
    EnableCommand(menu, CmdRedo, s.redo);
    EnableCommand(menu, CmdCut, s.cut);
    EnableCommand(menu, CmdCopy, s.copy || s.copyName);
    EnableCommand(menu, CmdCopyEntire, s.copyEntire);
    EnableCommand(menu, CmdPaste, s.paste);
    EnableCommand(menu, CmdPasteLastActive, s.pasteInLastActive);
    EnableCommand(menu, CmdSelectAll, s.selectAll);

    EnableToolButton(navToolbar_, CmdAddFolder, s.addFolder);
    EnableToolButton(navToolbar_, CmdAddReply, s.addReply);
    EnableToolButton(navToolbar_, CmdDelete, s.deleteNode);
    EnableToolButton(saveToolbar_, CmdSaveAll, s.saveAll);
    EnableToolButton(deliveryToolbar_, CmdCopyEntire, s.copyEntire);
    EnableToolButton(deliveryToolbar_, CmdPasteLastActive, s.pasteInLastActive);

    EnableControl(labelName_, s.name);
    EnableControl(editName_, s.name);
    EnableControl(labelMacro_, s.macro);
    EnableControl(editMacro_, s.macro);
    EnableControl(checkHotKey_, s.hotKeyBox);
    EnableControl(labelCtrlAlt_, s.hotKeyParts);
    EnableControl(checkShift_, s.hotKeyParts);
    EnableControl(labelPlus_, s.hotKeyParts);
    EnableControl(comboKey_, s.hotKeyParts);
    EnableControl(toolbar_, s.formattingToolbar);
    EnableControl(editor_, s.editor);
}

void TFormCorvane::FillKeyTable()
{
    SendMessageA(comboKey_, CB_RESETCONTENT, 0, 0);
    for (char key : kHotKeyChars) {
        const char item[2] = {key, '\0'};
        SendMessageA(comboKey_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(comboKey_, CB_SETCURSEL, 0, 0);
}

} // namespace corvane::win32
