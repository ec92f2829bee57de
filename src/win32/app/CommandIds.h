#pragma once
// The command ids come from the command table; the control ids of the main
// window's children are here.
#include "shell/CommandTable.h"

namespace corvane::win32 {

// The items of the predefined insertions menu, one per placeholder.
inline constexpr int CmdPlaceholderFirst = 1100;

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
    // The formatting toolbar's own controls and buttons.
    IdFontName,
    IdFontSize,
    IdFontSizeArrows,
    IdFontNameSlot,
    IdFontSizeSlot,
    IdColorBut,
    IdBoldBut,
    IdItalicBut,
    IdUnderlineBut,
    IdLeftAlign,
    IdCenterAlign,
    IdRightAlign,
    IdDecIndentBut,
    IdIncIndentBut,
    IdPreDefParams,
};

} // namespace corvane::win32
