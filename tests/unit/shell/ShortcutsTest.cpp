#include "shell/UnitShortcuts.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TKeyStroke Ctrl(unsigned vk, bool shift = false) { return {vk, true, shift, false}; }

TEST(Shortcuts, TextBoxesKeepTheirClipboardUndoAndSelectAllKeys)
{
    for (unsigned vk : {'C', 'X', 'V', 'A', 'Z'})
        EXPECT_TRUE(IsTextEditingKey(Ctrl(vk))) << char(vk);
    EXPECT_TRUE(IsTextEditingKey(Ctrl('Z', true))) << "redo";
    EXPECT_TRUE(IsTextEditingKey({0x2E, false, true, false})) << "Shift+Del cuts";
    EXPECT_TRUE(IsTextEditingKey({0x2D, false, true, false})) << "Shift+Ins pastes";
}

TEST(Shortcuts, WindowCommandsStayWithTheWindow)
{
    EXPECT_FALSE(IsTextEditingKey(Ctrl('C', true))) << "Copy the entire reply";
    EXPECT_FALSE(IsTextEditingKey(Ctrl('N'))) << "Add New Reply";
    EXPECT_FALSE(IsTextEditingKey(Ctrl('N', true))) << "Add New Folder";
    EXPECT_FALSE(IsTextEditingKey(Ctrl('S')));
    EXPECT_FALSE(IsTextEditingKey({0x73, false, false, true})) << "Alt+F4";
    EXPECT_FALSE(IsTextEditingKey({'C', true, false, true})) << "Ctrl+Alt+C is a hot key, not a copy";
    EXPECT_FALSE(IsTextEditingKey({'C', false, false, false}));
    EXPECT_FALSE(IsTextEditingKey({0x2E, true, true, false}));
}

TEST(Shortcuts, OnlyPlainF10OpensTheMenuBar)
{
    EXPECT_TRUE(IsMenuBarKey({0x79, false, false, false}));
    EXPECT_FALSE(IsMenuBarKey({0x79, false, true, false})) << "Shift+F10 is the context menu";
    EXPECT_FALSE(IsMenuBarKey({0x79, true, false, false}));
    EXPECT_FALSE(IsMenuBarKey({0x73, false, false, false}));
}

} // namespace
} // namespace corvane
