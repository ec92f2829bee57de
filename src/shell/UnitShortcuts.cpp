#include "shell/UnitShortcuts.h"

namespace corvane {

namespace {
constexpr unsigned kVkDelete = 0x2E;
constexpr unsigned kVkInsert = 0x2D;
constexpr unsigned kVkF10 = 0x79;
} // namespace

bool IsMenuBarKey(const TKeyStroke& key) { return key.virtualKey == kVkF10 && !key.ctrl && !key.shift && !key.alt; }

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
