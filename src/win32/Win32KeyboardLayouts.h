#pragma once
// The user's installed keyboard layouts, as the system lists and translates them.
#include <windows.h>

#include <array>
#include <vector>

#include "platform/KeyboardLayouts.h"

namespace corvane::win32 {

using TKeyState = std::array<BYTE, 256>;
// ToUnicodeEx's flag that leaves the dead-key state alone.
inline constexpr UINT KeepKeyboardState = 0x4;

// A key state with only `modifiers` down, for ToUnicodeEx; Ctrl with Alt is AltGr.
inline TKeyState KeyStateWith(const TModifiers& modifiers)
{
    TKeyState state{};
    const BYTE down = 0x80;
    if (modifiers.shift)
        state[VK_SHIFT] = state[VK_LSHIFT] = down;
    if (modifiers.control)
        state[VK_CONTROL] = state[VK_LCONTROL] = down;
    if (modifiers.alt)
        state[VK_MENU] = state[VK_RMENU] = down;
    return state;
}

class Win32KeyboardLayouts final : public IKeyboardLayouts {
public:
    std::vector<TKeyTranslation> TranslateOnEach(int virtualKey, const TModifiers& modifiers) const override
    {
        std::vector<TKeyTranslation> given;
        const int count = GetKeyboardLayoutList(0, nullptr);
        std::vector<HKL> layouts(static_cast<size_t>(count > 0 ? count : 0));
        if (layouts.empty() || GetKeyboardLayoutList(count, layouts.data()) != count)
            return given;
        const TKeyState state = KeyStateWith(modifiers);
        for (HKL layout : layouts) {
            const UINT scan = MapVirtualKeyExA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC, layout);
            WCHAR out[8] = {};
            const int n
                = ToUnicodeEx(static_cast<UINT>(virtualKey), scan, state.data(), out, 8, KeepKeyboardState, layout);
            if (n < 0)
                given.push_back({TKeyTranslation::Kind::DeadKey});
            else if (n == 0)
                given.push_back({TKeyTranslation::Kind::None});
            else
                given.push_back({TKeyTranslation::Kind::Character, static_cast<char16_t>(out[0])});
        }
        return given;
    }
};

} // namespace corvane::win32
