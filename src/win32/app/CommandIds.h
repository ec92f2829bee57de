#pragma once
// One table of command ids, shared by menus, buttons, accelerators and the tray.

namespace corvane::win32 {

enum CommandId : unsigned short {
    CmdExit = 1001,
    CmdAddFolder,
    CmdAddReply,
    CmdDelete,
    CmdSaveAll,
    CmdUndo,
    CmdRedo,
    CmdCut,
    CmdCopy,
    CmdCopyEntire,
    CmdPaste,
    CmdPasteLastActive,
    CmdSelectAll,
    CmdOptions,
    CmdHelpTopics,
    CmdTutorials,
    CmdTipOfTheDay,
    CmdTutorialMovie,
    CmdHomePage,
    CmdMakerHomePage,
    CmdAbout,
    CmdToggleMode,
    CmdCopyName,
    CmdTrayShow,
    CmdTrayInsert,
    CmdTrayExit,
    CmdPreDefParams, // the editor's drop-down button of predefined insertions
    CmdPlaceholderFirst = 1100, // eleven ids, one per placeholder
};

// Control ids of the main window's children.
enum ControlId : unsigned short {
    IdNavigation = 2001,
    IdListMacros,
    IdListHotKeys,
    IdCaptionMacros,
    IdCaptionHotKeys,
    IdEditName,
    IdEditMacro,
    IdLabelName,
    IdLabelMacro,
    IdCheckHotKey,
    IdLabelCtrlAlt,
    IdCheckShift,
    IdLabelPlus,
    IdComboKey,
    IdToolbar,
    IdEditor,
};

} // namespace corvane::win32
