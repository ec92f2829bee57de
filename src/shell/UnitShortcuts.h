#pragma once
// Which keystrokes a focused text box keeps for itself instead of letting the
// window's shortcuts have them.

namespace corvane {

// The virtual-key codes the program's shortcuts use besides letters, which
// are their upper-case characters.
inline constexpr unsigned kVkTab = 0x09;
inline constexpr unsigned kVkInsert = 0x2D;
inline constexpr unsigned kVkDelete = 0x2E;
inline constexpr unsigned kVkF1 = 0x70;
inline constexpr unsigned kVkF4 = 0x73;
inline constexpr unsigned kVkF10 = 0x79;

struct TKeyStroke {
    unsigned virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// Clipboard, undo and select-all keys of a text box: Ctrl+C, Ctrl+X, Ctrl+V,
// Ctrl+A, Ctrl+Z, Ctrl+Shift+Z, Shift+Del and Shift+Ins.
bool IsTextEditingKey(const TKeyStroke& key);

// Tab moves the focus to the next control of the window, Shift+Tab to the
// previous one.
enum class FocusMove { None, Next, Previous };
FocusMove FocusMoveFor(const TKeyStroke& key);

// F10 alone opens the window's menu bar, whichever control has the focus
// (some tree controls would otherwise take it as a navigation key).
bool IsMenuBarKey(const TKeyStroke& key);

} // namespace corvane
