#include "shell/CommandTable.h"

#include "shell/UnitTrayRules.h"

#include <iterator>

namespace corvane {

namespace {

constexpr TKeyStroke kNoKey{};
constexpr TKeyStroke Key(unsigned vk) { return {vk, false, false, false}; }
constexpr TKeyStroke Ctrl(unsigned vk) { return {vk, true, false, false}; }
constexpr TKeyStroke CtrlShift(unsigned vk) { return {vk, true, true, false}; }
constexpr TKeyStroke Shift(unsigned vk) { return {vk, false, true, false}; }
constexpr TKeyStroke Alt(unsigned vk) { return {vk, false, false, true}; }

using S = TCommandStates;
using G = CommandGlyph;
constexpr ShortcutScope kWindow = ShortcutScope::Window;

const TCommand kCommands[] = {
    {CmdExit, "E&xit", nullptr, Alt(kVkF4), kWindow, G::None, nullptr},
    {CmdAddFolder, "Add New Folder", nullptr, CtrlShift('N'), kWindow, G::AddFolder, &S::addFolder},
    {CmdAddReply, "Add New Reply", nullptr, Ctrl('N'), kWindow, G::AddReply, &S::addReply},
    {CmdDelete, "Delete", nullptr, Shift(kVkDelete), kWindow, G::Delete, &S::deleteNode},
    {CmdSaveAll, "Save All", nullptr, Ctrl('S'), kWindow, G::SaveAll, &S::saveAll},
    {CmdUndo, "Undo", nullptr, Ctrl('Z'), kWindow, G::None, &S::undo},
    {CmdRedo, "Redo", nullptr, CtrlShift('Z'), kWindow, G::None, &S::redo},
    {CmdCut, "Cut", nullptr, Ctrl('X'), kWindow, G::None, &S::cut},
    {CmdCopy, "Copy", nullptr, Ctrl('C'), kWindow, G::None, &S::copy},
    {CmdCopyEntire, "Copy the entire reply", nullptr, CtrlShift('C'), kWindow, G::CopyEntire, &S::copyEntire},
    {CmdPaste, "Paste", nullptr, Ctrl('V'), kWindow, G::None, &S::paste},
    {CmdPasteLastActive, "Paste the reply into the last active window", nullptr, kNoKey, kWindow, G::PasteLastActive,
        &S::pasteInLastActive},
    {CmdSelectAll, "Select All", nullptr, Ctrl('A'), kWindow, G::None, &S::selectAll},
    {CmdOptions, "Options", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdHelpTopics, "&Help Topics", nullptr, Key(kVkF1), kWindow, G::None, nullptr},
    {CmdTutorials, "&Tutorials", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdTipOfTheDay, "Tip of the &Day", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdTutorialMovie, "Watch the Tutorial Movie", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdHomePage, "&Corvane Home Page", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdMakerHomePage, "&Tarnwick Home Page", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdAbout, "&About Corvane", nullptr, kNoKey, kWindow, G::None, nullptr},
    // Its caption names the other mode once the mode is known.
    {CmdToggleMode, "Change Mode", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdCopyName, "Copy the name into the clipboard", nullptr, Ctrl('C'), ShortcutScope::Tree, G::None, &S::copyName},
    {CmdTrayShow, kTrayShowCaption, nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdTrayInsert, kTrayInsertCaption, kTrayInsertHint, kNoKey, kWindow, G::None, &S::pasteInLastActive},
    {CmdTrayExit, kTrayExitCaption, nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdTrayPause, kTrayPauseCaption, nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdImport, "&Import replies...", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdExport, "&Export replies...", nullptr, kNoKey, kWindow, G::None, nullptr},
    {CmdStatistics, "&Statistics", nullptr, kNoKey, kWindow, G::None, nullptr},
};

constexpr CommandId kFileItems[] = {CmdImport, CmdExport, CmdNone, CmdExit};
constexpr CommandId kEditItems[] = {CmdAddFolder, CmdAddReply, CmdDelete, CmdNone, CmdSaveAll, CmdNone, CmdUndo,
    CmdRedo, CmdNone, CmdCut, CmdCopy, CmdCopyEntire, CmdPaste, CmdPasteLastActive, CmdSelectAll};
constexpr CommandId kOptionsItem[] = {CmdOptions};
constexpr CommandId kHelpItems[] = {CmdHelpTopics, CmdTutorials, CmdTipOfTheDay, CmdNone, CmdStatistics, CmdNone,
    CmdTutorialMovie, CmdHomePage, CmdMakerHomePage, CmdNone, CmdAbout};
constexpr CommandId kModeItem[] = {CmdToggleMode};
constexpr TMenuBarEntry kMenuBar[] = {
    {"File", kFileItems},
    {"Edit", kEditItems},
    {nullptr, kOptionsItem},
    {"Help", kHelpItems},
    {nullptr, kModeItem},
};
constexpr CommandId kNavPopup[] = {CmdCopyName, CmdNone, CmdDelete};
constexpr CommandId kTrayMenu[] = {CmdTrayShow, CmdTrayInsert, CmdTrayPause, CmdNone, CmdTrayExit};
constexpr CommandId kNavButtons[] = {CmdAddFolder, CmdAddReply, CmdDelete};
constexpr CommandId kSaveButtons[] = {CmdSaveAll};
constexpr CommandId kDeliveryButtons[] = {CmdCopyEntire, CmdPasteLastActive};

std::string KeyName(unsigned vk)
{
    switch (vk) {
    case kVkDelete:
        return "Del";
    case kVkInsert:
        return "Ins";
    case kVkTab:
        return "Tab";
    default:
        break;
    }
    if (vk >= kVkF1 && vk < kVkF1 + 24)
        return std::string(1, 'F').append(std::to_string(vk - kVkF1 + 1));
    return std::string(1, static_cast<char>(vk));
}

bool SameKey(const TKeyStroke& a, const TKeyStroke& b)
{
    return a.virtualKey == b.virtualKey && a.ctrl == b.ctrl && a.shift == b.shift && a.alt == b.alt;
}

std::optional<CommandId> CommandWithShortcut(const TKeyStroke& key, ShortcutScope scope)
{
    for (const TCommand& c : kCommands)
        if (c.scope == scope && c.shortcut.virtualKey != 0 && SameKey(c.shortcut, key))
            return c.id;
    return std::nullopt;
}

} // namespace

std::span<const TCommand> Commands() { return kCommands; }

const TCommand* FindCommand(unsigned id)
{
    for (const TCommand& c : kCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

std::string ShortcutText(const TKeyStroke& key)
{
    if (key.virtualKey == 0)
        return {};
    std::string text;
    if (key.ctrl)
        text += "Ctrl+";
    if (key.shift)
        text += "Shift+";
    if (key.alt)
        text += "Alt+";
    return text + KeyName(key.virtualKey);
}

std::string MenuItemText(const TCommand& command)
{
    const std::string shortcut = ShortcutText(command.shortcut);
    return shortcut.empty() ? std::string(command.text) : command.text + std::string("\t") + shortcut;
}

std::string HintText(const TCommand& command)
{
    if (command.hint)
        return command.hint;
    std::string text;
    for (const char* p = command.text; *p; ++p)
        if (*p != '&')
            text += *p;
    return text;
}

bool CommandEnabled(unsigned id, const TCommandStates& states)
{
    const TCommand* command = FindCommand(id);
    return command && (!command->enabledBy || states.*(command->enabledBy));
}

std::optional<CommandId> ShortcutCommand(const TKeyStroke& key, FocusedControl focus)
{
    if (focus == FocusedControl::Text && IsTextEditingKey(key))
        return std::nullopt;
    if (focus == FocusedControl::Tree)
        if (const auto command = CommandWithShortcut(key, ShortcutScope::Tree))
            return command;
    return CommandWithShortcut(key, ShortcutScope::Window);
}

std::span<const TMenuBarEntry> MainMenuBar() { return kMenuBar; }
std::span<const CommandId> NavPopupItems() { return kNavPopup; }
std::span<const CommandId> TrayMenuItems() { return kTrayMenu; }
std::span<const CommandId> NavButtons() { return kNavButtons; }
std::span<const CommandId> SaveButtons() { return kSaveButtons; }
std::span<const CommandId> DeliveryButtons() { return kDeliveryButtons; }

} // namespace corvane
