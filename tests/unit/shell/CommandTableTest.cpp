#include "shell/CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr TKeyStroke kCtrlC{'C', true, false, false};
// The Wine scenarios post some commands by number.
static_assert(CmdTipOfTheDay == 1017);

TEST(CommandTable, MenusShowTheirShortcutsAfterATab)
{
    EXPECT_EQ(MenuItemText(*FindCommand(CmdExit)), "E&xit\tAlt+F4");
    EXPECT_EQ(MenuItemText(*FindCommand(CmdAddFolder)), "Add New Folder\tCtrl+Shift+N");
    EXPECT_EQ(MenuItemText(*FindCommand(CmdDelete)), "Delete\tShift+Del");
    EXPECT_EQ(MenuItemText(*FindCommand(CmdHelpTopics)), "&Help Topics\tF1");
    EXPECT_EQ(MenuItemText(*FindCommand(CmdCopyName)), "Copy the name into the clipboard\tCtrl+C");
    EXPECT_EQ(MenuItemText(*FindCommand(CmdPasteLastActive)), "Paste the reply into the last active window");
    EXPECT_EQ(HintText(*FindCommand(CmdTipOfTheDay)), "Tip of the Day");
    EXPECT_EQ(HintText(*FindCommand(CmdTrayInsert)), "Insert the latest used reply into the current active window");
}

TEST(CommandTable, EveryListedCommandIsInTheTableAndNoShortcutIsTakenTwice)
{
    std::vector<std::span<const CommandId>> lists
        = {NavPopupItems(), TrayMenuItems(), NavButtons(), SaveButtons(), DeliveryButtons()};
    for (const TMenuBarEntry& entry : MainMenuBar())
        lists.push_back(entry.items);
    for (const auto& list : lists)
        for (const CommandId id : list)
            EXPECT_TRUE(id == CmdNone || FindCommand(id)) << id;
    for (const auto& buttons : {NavButtons(), SaveButtons(), DeliveryButtons()})
        for (const CommandId id : buttons)
            EXPECT_NE(FindCommand(id)->glyph, CommandGlyph::None) << id;

    std::set<std::pair<ShortcutScope, std::string>> taken;
    for (const TCommand& c : Commands())
        if (c.shortcut.virtualKey != 0) {
            EXPECT_TRUE(taken.insert({c.scope, ShortcutText(c.shortcut)}).second) << ShortcutText(c.shortcut);
        }
}

TEST(CommandTable, CtrlCCopiesTheNameInTheTreeAndTheEditorsTextElsewhere)
{
    EXPECT_EQ(ShortcutCommand(kCtrlC, FocusedControl::Tree), CmdCopyName);
    EXPECT_EQ(ShortcutCommand(kCtrlC, FocusedControl::Other), CmdCopy);
    EXPECT_EQ(ShortcutCommand(kCtrlC, FocusedControl::Text), std::nullopt) << "the text box copies";

    // Edit, Copy is the editor's: with the tree focused it stays disabled.
    TIdleInput in;
    in.selected = SelectedNode::Reply;
    in.treeFocused = true;
    const TCommandStates states = IdleUpdate(in, {});
    EXPECT_FALSE(CommandEnabled(CmdCopy, states));
    EXPECT_TRUE(CommandEnabled(CmdCopyName, states));
    in.treeFocused = false;
    in.editorFocused = true;
    in.editorHasSelection = true;
    EXPECT_TRUE(CommandEnabled(CmdCopy, IdleUpdate(in, {})));
    EXPECT_TRUE(CommandEnabled(CmdExit, {})) << "commands without an idle state are always enabled";
}

TEST(CommandTable, TextBoxesKeepTheirKeysButWindowShortcutsStillWork)
{
    const TKeyStroke shiftDel{kVkDelete, false, true, false};
    EXPECT_EQ(ShortcutCommand(shiftDel, FocusedControl::Tree), CmdDelete);
    EXPECT_EQ(ShortcutCommand(shiftDel, FocusedControl::Text), std::nullopt);
    EXPECT_EQ(ShortcutCommand({'N', true, false, false}, FocusedControl::Text), CmdAddReply);
    EXPECT_EQ(ShortcutCommand({'N', true, true, false}, FocusedControl::Text), CmdAddFolder);
    EXPECT_EQ(ShortcutCommand({kVkF4, false, false, true}, FocusedControl::Text), CmdExit);
    EXPECT_EQ(ShortcutCommand({kVkF1, false, false, false}, FocusedControl::Other), CmdHelpTopics);
    EXPECT_EQ(ShortcutCommand({'C', true, false, true}, FocusedControl::Other), std::nullopt) << "a global hot key";
    EXPECT_EQ(ShortcutCommand({'Q', false, false, false}, FocusedControl::Other), std::nullopt);
}

TEST(CommandTable, TabWalksTheControlsBothWays)
{
    EXPECT_EQ(FocusMoveFor({kVkTab, false, false, false}), FocusMove::Next);
    EXPECT_EQ(FocusMoveFor({kVkTab, false, true, false}), FocusMove::Previous);
    EXPECT_EQ(FocusMoveFor({kVkTab, true, false, false}), FocusMove::None) << "Ctrl+Tab is not ours";
    EXPECT_EQ(FocusMoveFor({'T', false, false, false}), FocusMove::None);
}

} // namespace
} // namespace corvane
