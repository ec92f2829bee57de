#include "engine/HeldModifiers.h"

namespace corvane {

namespace {

constexpr int VkLWin = 0x5B, VkRWin = 0x5C, VkLMenu = 0xA4, VkRMenu = 0xA5;
// Each side on its own: the generic Shift, Ctrl and Alt stand for the left key when sent.
constexpr int SidedModifiers[] = {0xA0, 0xA1, 0xA2, 0xA3, VkLMenu, VkRMenu, VkLWin, VkRWin};
// A key no layout uses: struck before Alt or Windows is let go, so that their
// release opens neither the menu bar nor the Start menu.
constexpr int UnassignedKey = 0xE8;

bool OpensSomethingAlone(int virtualKey)
{
    return virtualKey == VkLMenu || virtualKey == VkRMenu || virtualKey == VkLWin || virtualKey == VkRWin;
}

} // namespace

THeldModifiersLetGo::THeldModifiersLetGo(IDesktop& desktop) : desktop_(desktop)
{
    bool masked = false;
    for (int key : SidedModifiers) {
        if (!desktop_.KeyDown(key))
            continue;
        if (OpensSomethingAlone(key) && !masked) {
            desktop_.SendKey(UnassignedKey, false);
            desktop_.SendKey(UnassignedKey, true);
            masked = true;
        }
        desktop_.SendKey(key, true);
        released_.push_back(key);
    }
}

THeldModifiersLetGo::~THeldModifiersLetGo()
{
    for (auto key = released_.rbegin(); key != released_.rend(); ++key)
        desktop_.SendKey(*key, false);
}

} // namespace corvane
