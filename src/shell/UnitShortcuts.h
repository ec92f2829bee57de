#pragma once
// Which keystrokes a focused text box keeps for itself instead of letting the
// window's shortcuts have them.

namespace corvane {

struct TKeyStroke {
    unsigned virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// Clipboard, undo and select-all keys of a text box: Ctrl+C, Ctrl+X, Ctrl+V,
// Ctrl+A, Ctrl+Z, Ctrl+Shift+Z, Shift+Del and Shift+Ins.
bool IsTextEditingKey(const TKeyStroke& key);

} // namespace corvane
