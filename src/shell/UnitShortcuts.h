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

// F10 alone opens the window's menu bar, whichever control has the focus
// (some tree controls would otherwise take it as a navigation key).
bool IsMenuBarKey(const TKeyStroke& key);

} // namespace corvane
