// Main window: the notifications of its controls, dispatched per control.
// A control's handler joins its case here and forwards to the portable code.
#include "win32/app/FormCorvane.h"

#include <commctrl.h>
#include <richedit.h>

#include "library/UnitCorvaneTypes.h"
#include "shell/TreeImages.h"
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

LRESULT TFormCorvane::OnControlNotify(NMHDR& header)
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

void TFormCorvane::SetTreeImages(TVITEMA& item) const
{
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)))
        return;
    const bool hasChildren = TreeView_GetChild(navigation_, item.hItem) != nullptr;
    const bool expanded = (TreeView_GetItemState(navigation_, item.hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    const TTreeNodeImages images = TreeNodeImages(
        hasChildren, expanded, library_ ? NodeMarkOf(*library_, library_->RepOf(item.hItem)) : TNodeMark::None);
    if (item.mask & TVIF_IMAGE)
        item.iImage = images.normal;
    if (item.mask & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = images.selected;
}

LRESULT TFormCorvane::OnNavigationNotify(NMHDR& header)
{
    LRESULT result = 0;
    if (OnEditingNavigationNotify(header, result))
        return result;
    switch (header.code) {
    case NM_RCLICK:
        OnTreeRightClick();
        return TRUE;
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW:
        // Both structures start alike up to the image fields.
        SetTreeImages(reinterpret_cast<NMTVDISPINFOA&>(header).item);
        return 0;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        IdleUpdate();
        return 0;
    default:
        return 0;
    }
}

} // namespace corvane::win32
