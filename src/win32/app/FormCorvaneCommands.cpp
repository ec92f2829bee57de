// Main window: the idle-time enabling of commands and controls.
#include "win32/app/FormCorvaneAdapters.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <utility>

#include "library/UnitCommonProcs.h"
#include "engine/Delivery.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitShortcuts.h"
#include "win32/MenuItems.h"
#include "win32/Clipboard.h"
#include "win32/TreeViewControl.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

namespace {

bool IsTextControl(HWND window)
{
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    return lstrcmpiA(cls, "Edit") == 0 || lstrcmpiA(cls, RICHEDIT_CLASSA) == 0;
}

} // namespace

FocusedControl TFormCorvane::FocusKind(HWND focus) const
{
    if (IsTextControl(focus))
        return FocusedControl::Text; // also the tree's label editor
    return focus == navigation_ ? FocusedControl::Tree : FocusedControl::Other;
}

bool TFormCorvane::TranslateShortcut(MSG& msg)
{
    if (!window_ || !(msg.hwnd == window_ || IsChild(window_, msg.hwnd)))
        return false;
    const bool systemKey = msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP;
    if (!systemKey && msg.message != WM_KEYDOWN)
        return false;
    const TKeyStroke key{static_cast<unsigned>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
        GetKeyState(VK_MENU) < 0};
    if (systemKey && IsMenuBarKey(key)) {
        // Opened on the press; the release is swallowed so that nothing
        // toggles the menu a second time.
        if (msg.message == WM_SYSKEYDOWN)
            PostMessageA(window_, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return true;
    }
    if (msg.message == WM_SYSKEYUP)
        return false;
    if (const FocusMove move = FocusMoveFor(key); move != FocusMove::None) {
        MoveFocus(msg.hwnd, move == FocusMove::Previous);
        return true;
    }
    const auto command = ShortcutCommand(key, FocusKind(msg.hwnd));
    if (!command)
        return false;
    RunCommand(*command);
    return true;
}

void TFormCorvane::MoveFocus(HWND from, bool backwards)
{
    // The focused window may be a part of a control (a combo box's edit).
    while (from && GetParent(from) != window_)
        from = GetParent(from);
    if (HWND next = GetNextDlgTabItem(window_, from, backwards ? TRUE : FALSE))
        SetFocus(next);
}

void TFormCorvane::RunCommand(int id)
{
    // A shortcut or a stale menu must not run what the idle update disables.
    IdleUpdate();
    if (FindCommand(static_cast<unsigned>(id)) && !CommandEnabled(static_cast<unsigned>(id), commandStates_))
        return;
    OnCommand(id);
}

void TFormCorvane::NavCtxCopyExecute()
{
    if (tree_ && tree_->Selected())
        (void)ReplaceClipboard(window_, {{CF_TEXT, tree_->Label(tree_->Selected())}});
}

void TFormCorvane::ShowNavPopup(int screenX, int screenY)
{
    IdleUpdate();
    UniqueMenu popup(CreatePopupMenu());
    AppendCommands(popup.Get(), NavPopupItems());
    EnableCommands(popup.Get(), NavPopupItems(), commandStates_);
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
    if (editing_)
        editing_->NavigationRightButtonDown(TreeView_HitTest(navigation_, &hit));
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
    in.nameChanged = editing_ && editing_->NameChanged();
    in.replyChanged = editing_ && (editing_->ReplyChanged() || editing_->HasUnsavedEdits());
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
    for (const TCommand& command : Commands())
        if (command.enabledBy)
            EnableCommandItem(menu, command.id, CommandEnabled(command.id, s));
    for (const auto& [toolbar, buttons] : {std::pair{navToolbar_, NavButtons()}, std::pair{saveToolbar_, SaveButtons()},
             std::pair{deliveryToolbar_, DeliveryButtons()}})
        for (const CommandId id : buttons)
            EnableToolButton(toolbar, id, CommandEnabled(id, s));

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
    ApplyFormattingStates(s);
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
