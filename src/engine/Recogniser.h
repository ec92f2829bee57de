#pragma once
// Typed characters from keystroke notifications, and the chords polled from
// the key state.
#include <string>

#include "platform/Desktop.h"

namespace corvane {

class IDesktop;
class TRepList;

inline constexpr int VkBack = 0x08;
inline constexpr int VkTab = 0x09;
inline constexpr int VkReturn = 0x0D;
inline constexpr int VkLeft = 0x25;
inline constexpr int VkDelete = 0x2E;
inline constexpr int VkShift = 0x10;
inline constexpr int VkControl = 0x11;
inline constexpr int VkMenu = 0x12;
inline constexpr int VkSpace = 0x20;
inline constexpr int VkLShift = 0xA0;
inline constexpr int VkRShift = 0xA1;
inline constexpr int VkQ = 0x51;
inline constexpr int VkV = 0x56;

// The character a key gives on a US keyboard, or 0 when it gives none of
// the 94 characters a macro may hold.
char KeyCharacter(int virtualKey, bool shift);

// Shift, Ctrl or Alt, either side.
bool IsModifierKey(int virtualKey);

// The macro character of a key as the layout translated it, the US table
// standing in where no layout could be asked; 0 when it gives none. A dead
// key gives none either: the character comes with the key after it.
char MacroCharacter(const TKeyTranslation& translation, int virtualKey, bool shift);

enum class TKeyOutcome { Ignored, Appended, Cleared, Expand };

// Applies one keystroke notification to the typed buffer. A space press asks
// for expansion and leaves the buffer for it.
// `character` is the macro character the key gave, 0 for none.
TKeyOutcome FeedKey(std::string& typedBuffer, int virtualKey, bool pressed, char character);

enum class TChord { None, ShowWindow, InsertSelected, ReplyHotKey, Picker };

struct TChordFound {
    TChord chord = TChord::None;
    int hotKeyPosition = -1; // for ReplyHotKey
};

// Ctrl+Shift+Q, Ctrl+Shift+V (Alt up), Ctrl+Alt+Space (Shift up) while the
// picker is enabled, or the first reply hot key whose key, Shift state and
// Ctrl+Alt are down.
TChordFound FindChord(const IDesktop& desktop, const TRepList& library, bool pickerEnabled);

// The chord that a press of `virtualKey` completes while `modifiers` are down.
TChordFound ChordOfKey(int virtualKey, const TModifiers& modifiers, const TRepList& library, bool pickerEnabled);

} // namespace corvane
