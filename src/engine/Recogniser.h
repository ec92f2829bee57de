#pragma once
// Typed characters from keystroke notifications, and the chords polled from
// the key state.
#include <string>

namespace corvane {

class IDesktop;
class TRepList;

inline constexpr int VkBack = 0x08;
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

enum class TKeyOutcome { Ignored, Appended, Cleared, Expand };

// Applies one keystroke notification to the typed buffer. A space press asks
// for expansion and leaves the buffer for it.
TKeyOutcome FeedKey(std::string& typedBuffer, int virtualKey, bool pressed, bool shiftDown);

enum class TChord { None, ShowWindow, InsertSelected, ReplyHotKey, Picker };

struct TChordFound {
    TChord chord = TChord::None;
    int hotKeyPosition = -1; // for ReplyHotKey
};

// Ctrl+Shift+Q, Ctrl+Shift+V (Alt up), Ctrl+Alt+Space (Shift up) while the
// picker is enabled, or the first reply hot key whose key, Shift state and
// Ctrl+Alt are down.
TChordFound FindChord(const IDesktop& desktop, const TRepList& library, bool pickerEnabled);

} // namespace corvane
