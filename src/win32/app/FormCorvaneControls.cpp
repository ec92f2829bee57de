// Main window: the notifications of its controls, dispatched per control.
// A control's handler joins its case here and forwards to the portable code.
#include "win32/app/FormCorvane.h"

#include <commctrl.h>
#include <richedit.h>

#include "win32/app/CommandIds.h"

namespace corvane::win32 {

void TFormCorvane::OnControlCommand(int controlId, int code)
{
    OnEditingControlCommand(controlId, code);
    switch (controlId) {
    case IdCheckHotKey:
    case IdCheckShift:
        // The key parts follow the box at once, not at the next idle moment.
        if (code == BN_CLICKED)
            IdleUpdate();
        break;
    default:
        OnFormattingCommand(controlId, code);
        break;
    }
}

LRESULT TFormCorvane::OnControlNotify(const NMHDR& header)
{
    switch (header.idFrom) {
    case IdNavigation:
        return OnNavigationNotify(header);
    case IdEditor:
        if (header.code == EN_SELCHANGE)
            RefreshFormattingToolbar();
        return 0;
    case IdToolbar:
        return OnFormattingToolbarNotify(header);
    default:
        return 0;
    }
}

LRESULT TFormCorvane::OnNavigationNotify(const NMHDR& header)
{
    LRESULT result = 0;
    if (OnEditingNavigationNotify(header, result))
        return result;
    switch (header.code) {
    case NM_RCLICK:
        OnTreeRightClick();
        return TRUE;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        IdleUpdate();
        return 0;
    default:
        return 0;
    }
}

} // namespace corvane::win32
