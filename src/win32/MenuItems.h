#pragma once
// Menus built from the command table.
#include <windows.h>

#include <span>

#include "shell/CommandTable.h"

namespace corvane::win32 {

inline void AppendItem(HMENU menu, UINT id, const char* text) { AppendMenuA(menu, MF_STRING, id, text); }

inline void AppendSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

// Each command with its text and shortcut; CmdNone appends a separator.
inline void AppendCommands(HMENU menu, std::span<const CommandId> items)
{
    for (const CommandId id : items) {
        const TCommand* command = FindCommand(id);
        if (command)
            AppendItem(menu, id, MenuItemText(*command).c_str());
        else
            AppendSeparator(menu);
    }
}

inline void EnableCommandItem(HMENU menu, UINT id, bool enabled)
{
    if (menu)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// Greys the items whose idle state is off.
inline void EnableCommands(HMENU menu, std::span<const CommandId> items, const TCommandStates& states)
{
    for (const CommandId id : items)
        if (id != CmdNone)
            EnableCommandItem(menu, id, CommandEnabled(id, states));
}

} // namespace corvane::win32
