#pragma once
// The command ids come from the command table; the control ids of the main
// window's children are here.
#include "shell/CommandTable.h"

namespace corvane::win32 {

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
