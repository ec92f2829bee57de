#include "shell/UnitShortcuts.h"

namespace corvane {

bool IsMenuBarKey(const TKeyStroke& key) { return key.virtualKey == kVkF10 && !key.ctrl && !key.shift && !key.alt; }

FocusMove FocusMoveFor(const TKeyStroke& key)
{
    if (key.virtualKey != kVkTab || key.ctrl || key.alt)
        return FocusMove::None;
    return key.shift ? FocusMove::Previous : FocusMove::Next;
}

bool IsTextEditingKey(const TKeyStroke& key)
{
    if (key.alt)
        return false;
    switch (key.virtualKey) {
    case 'C':
    case 'X':
    case 'V':
    case 'A':
        return key.ctrl && !key.shift;
    case 'Z':
        return key.ctrl;
    case kVkDelete:
    case kVkInsert:
        return key.shift && !key.ctrl;
    default:
        return false;
    }
}

} // namespace corvane
