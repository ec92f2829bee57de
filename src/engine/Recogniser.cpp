#include "engine/Recogniser.h"

#include <string_view>

#include "library/UnitCommonProcs.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Desktop.h"

namespace corvane {

namespace {

constexpr unsigned char KeyCodes[47] = {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0x41, 0x42, 0x43,
    0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56,
    0x57, 0x58, 0x59, 0x5A, 0xBC, 0xBE, 0xBA, 0xBB, 0xBD, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
static_assert(sizeof KeyCodes == kKeyCharsUnshifted.size());

} // namespace

char KeyCharacter(int virtualKey, bool shift)
{
    for (size_t i = 0; i < sizeof KeyCodes; ++i)
        if (KeyCodes[i] == virtualKey)
            return shift ? kKeyCharsShifted[i] : kKeyCharsUnshifted[i];
    return 0;
}

bool IsModifierKey(int virtualKey)
{
    constexpr int VkRMenu = 0xA5; // the left and right keys run from VkLShift to here
    return virtualKey == VkShift || virtualKey == VkControl || virtualKey == VkMenu
        || (virtualKey >= VkLShift && virtualKey <= VkRMenu);
}

char MacroCharacter(const TKeyTranslation& translation, int virtualKey, bool shift)
{
    switch (translation.kind) {
    case TKeyTranslation::Kind::Unavailable:
        return KeyCharacter(virtualKey, shift);
    case TKeyTranslation::Kind::Character:
        return translation.character > u' ' && translation.character < 0x7F ? static_cast<char>(translation.character)
                                                                            : '\0';
    case TKeyTranslation::Kind::None:
    case TKeyTranslation::Kind::DeadKey:
        break;
    }
    return '\0';
}

TKeyOutcome FeedKey(std::string& typedBuffer, int virtualKey, bool pressed, char character)
{
    if (!pressed) {
        if (virtualKey == VkControl || virtualKey == VkMenu) {
            typedBuffer.clear();
            return TKeyOutcome::Cleared;
        }
        return TKeyOutcome::Ignored;
    }
    if (virtualKey == VkSpace)
        return TKeyOutcome::Expand;
    // Modifiers alone type nothing: Shift and AltGr (Ctrl+Alt) come before characters.
    if (IsModifierKey(virtualKey))
        return TKeyOutcome::Ignored;
    if (character != '\0') {
        typedBuffer += character;
        return TKeyOutcome::Appended;
    }
    if (virtualKey >= 1 && virtualKey <= 255) {
        typedBuffer.clear();
        return TKeyOutcome::Cleared;
    }
    return TKeyOutcome::Ignored;
}

namespace {

// The chord of `modifiers` and the keys for which `keyDown` holds.
template <typename KeyDown>
TChordFound ChordOf(const TModifiers& modifiers, const TRepList& library, bool pickerEnabled, KeyDown keyDown)
{
    if (modifiers.shift && modifiers.control && !modifiers.alt) {
        if (keyDown(VkQ))
            return {TChord::ShowWindow};
        if (keyDown(VkV))
            return {TChord::InsertSelected};
    }
    if (!modifiers.control || !modifiers.alt)
        return {};
    if (pickerEnabled && !modifiers.shift && keyDown(VkSpace))
        return {TChord::Picker};
    for (int i = 0; i < library.HotKeyCount(); ++i) {
        const HotKeyParts parts = SplitHotKeyCode(library.HotKeyCodeAt(i));
        if (parts.key != '\0' && parts.shift == modifiers.shift && keyDown(static_cast<unsigned char>(parts.key)))
            return {TChord::ReplyHotKey, i};
    }
    return {};
}

} // namespace

TChordFound FindChord(const IDesktop& desktop, const TRepList& library, bool pickerEnabled)
{
    const TModifiers modifiers{desktop.KeyDown(VkControl), desktop.KeyDown(VkMenu), desktop.KeyDown(VkShift)};
    return ChordOf(modifiers, library, pickerEnabled, [&](int key) { return desktop.KeyDown(key); });
}

TChordFound ChordOfKey(int virtualKey, const TModifiers& modifiers, const TRepList& library, bool pickerEnabled)
{
    return ChordOf(modifiers, library, pickerEnabled, [&](int key) { return key == virtualKey; });
}

} // namespace corvane
