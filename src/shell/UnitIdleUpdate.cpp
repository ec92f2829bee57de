#include "shell/UnitIdleUpdate.h"

namespace corvane {

namespace {

void EnableReplyControls(const TIdleInput& in, TCommandStates& s)
{
    s.name = true;
    s.macro = true;
    s.hotKeyBox = true;
    s.hotKeyParts = in.hotKeyChecked;
    s.formattingToolbar = true;
    s.copy = in.editorFocused && in.editorHasSelection;
    s.cut = in.editorFocused && in.editorHasSelection;
    s.paste = in.editorFocused && in.editorCanPaste;
    s.undo = in.editorFocused && in.editorCanUndo;
    s.redo = in.editorFocused && in.editorCanRedo;
    s.selectAll = in.editorFocused;
    s.copyEntire = true;
    s.pasteInLastActive = in.lastActiveWindowValid;
    s.formattingControls = true;
    s.placeholders = true;
    s.editor = true;
}

// What remains is reading, copying and delivering.
void DisableChanges(TCommandStates& s)
{
    s.addFolder = false;
    s.addReply = false;
    s.deleteNode = false;
    s.name = false;
    s.macro = false;
    s.hotKeyBox = false;
    s.hotKeyParts = false;
    s.formattingToolbar = false;
    s.formattingControls = false;
    s.placeholders = false;
    s.cut = false;
    s.paste = false;
    s.undo = false;
    s.redo = false;
}

} // namespace

TCommandStates IdleUpdate(const TIdleInput& in, const TCommandStates& previous)
{
    TCommandStates s; // everything disabled
    s.addFolder = in.fullMode;
    s.addReply = in.fullMode;
    s.saveAll = previous.saveAll;
    if (in.selected == SelectedNode::None)
        return s;

    s.deleteNode = in.fullMode;
    s.saveAll = in.nameChanged || in.replyChanged;
    s.copyName = in.treeFocused;
    if (in.selected == SelectedNode::Folder)
        s.name = true;
    else
        EnableReplyControls(in, s);
    if (in.selectionReadOnly)
        DisableChanges(s);
    return s;
}

} // namespace corvane
