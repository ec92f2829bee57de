#pragma once
// The idle-time enabling of the main window's commands and controls.

namespace corvane {

enum class SelectedNode { None, Folder, Reply };

struct TIdleInput {
    bool fullMode = true;
    SelectedNode selected = SelectedNode::None;
    bool nameChanged = false;
    bool replyChanged = false;
    bool treeFocused = false;
    bool hotKeyChecked = false;
    bool editorFocused = false;
    bool editorHasSelection = false;
    bool editorCanPaste = false;
    bool editorCanUndo = false;
    bool editorCanRedo = false;
    bool lastActiveWindowValid = false; // LastActiveWindow set and still a window
    // The selection lies in the team library while it is offline or its
    // folder only allows reading: it can be delivered, not changed.
    bool selectionReadOnly = false;
};

struct TCommandStates {
    bool addFolder = false;
    bool addReply = false;
    bool deleteNode = false;
    bool saveAll = false;
    bool copyName = false; // "Copy the name into the clipboard"
    bool name = false; // "Name:" label and EditName
    bool macro = false; // "Macro:" label and EditMacro
    bool hotKeyBox = false; // "Hot Key:"
    bool hotKeyParts = false; // "<CTRL>+<ALT>+", "<SHIFT>", "+", ComboBoxKey
    bool formattingToolbar = false;
    bool copy = false;
    bool cut = false;
    bool paste = false;
    bool undo = false;
    bool redo = false;
    bool selectAll = false;
    bool copyEntire = false; // "Copy the entire reply"
    bool pasteInLastActive = false; // "Paste the reply into the last active window"
    bool formattingControls = false; // font name and size, colour, styles, alignment, indents
    bool placeholders = false; // the predefined-insertions button
    bool editor = false;
    bool operator==(const TCommandStates&) const = default;
};

// Save All is decided only while a node is selected; otherwise it keeps its
// state from `previous`.
TCommandStates IdleUpdate(const TIdleInput& in, const TCommandStates& previous);

} // namespace corvane
