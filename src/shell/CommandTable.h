#pragma once
// The main window's commands: one row each with its id, text, hint, shortcut,
// glyph and the idle state that enables it. The menu bar, the tree's popup,
// the tray menu, the button columns, the keyboard shortcuts and the idle
// enabling are all built from these rows, so a command is added in one place.
#include "shell/UnitIdleUpdate.h"
#include "shell/UnitShortcuts.h"

#include <optional>
#include <span>
#include <string>

namespace corvane {

enum CommandId : unsigned short {
    CmdNone = 0, // a separator where a list of commands is expected
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
    CmdTrayPause,
    CmdImport,
    CmdExport,
    CmdStatistics,
};

// The picture of a command's button; the window maps each to an image.
enum class CommandGlyph { None, AddFolder, AddReply, Delete, SaveAll, CopyEntire, PasteLastActive };

// Where a command's shortcut acts.
enum class ShortcutScope {
    Window, // wherever the focus is in the main window
    Tree, // only while the navigation tree has the focus; wins over Window
};

struct TCommand {
    CommandId id;
    const char* text; // menu text, with its mnemonic
    const char* hint; // button tooltip and tray hint; nullptr: the text
    TKeyStroke shortcut; // virtualKey 0: none
    ShortcutScope scope;
    CommandGlyph glyph;
    bool TCommandStates::*enabledBy; // nullptr: always enabled
};

// Every command; nullptr for an id not in the table.
std::span<const TCommand> Commands();
const TCommand* FindCommand(unsigned id);

// "Ctrl+Shift+N", "Shift+Del", "Alt+F4", "F1"; empty without a key.
std::string ShortcutText(const TKeyStroke& key);
// The text and, after a tab, the shortcut, as a menu shows them.
std::string MenuItemText(const TCommand& command);
// The hint, or the text without its mnemonic.
std::string HintText(const TCommand& command);

bool CommandEnabled(unsigned id, const TCommandStates& states);

// Which control has the keyboard focus when a key is pressed.
enum class FocusedControl { Other, Tree, Text };

// The command a keystroke in the main window runs, or nullopt when it is no
// shortcut or a focused text box keeps it for its own editing.
std::optional<CommandId> ShortcutCommand(const TKeyStroke& key, FocusedControl focus);

// An entry of the menu bar: a popup with its items (CmdNone separates), or,
// without a caption, one command standing as an item of the bar itself.
struct TMenuBarEntry {
    const char* popup;
    std::span<const CommandId> items;
};
std::span<const TMenuBarEntry> MainMenuBar();
std::span<const CommandId> NavPopupItems();
std::span<const CommandId> TrayMenuItems();
// The button columns beside the tree and the editor.
std::span<const CommandId> NavButtons();
std::span<const CommandId> SaveButtons();
std::span<const CommandId> DeliveryButtons();

} // namespace corvane
