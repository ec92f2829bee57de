// Main window: the menu bar, the keyboard shortcuts and the command dispatch.
#include "win32/app/FormCorvaneAdapters.h"

#include <richedit.h>

#include "shell/UnitGlobalParams.h"
#include "win32/AboutBox.h"
#include "win32/MenuItems.h"
#include "win32/OptionsDialog.h"
#include "win32/RichEditControl.h"
#include "win32/ShellOpen.h"
#include "win32/TipDialog.h"
#include "engine/PredefinedInsertions.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

void TFormCorvane::BuildMainMenu()
{
    HMENU bar = CreateMenu();
    for (const TMenuBarEntry& entry : MainMenuBar()) {
        if (!entry.popup) {
            AppendCommands(bar, entry.items);
            continue;
        }
        HMENU popup = CreatePopupMenu();
        AppendCommands(popup, entry.items);
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), entry.popup);
    }
    SetMenu(window_, bar); // the window owns and destroys its menu bar
}

void TFormCorvane::OnCommand(int id)
{
    if (RunEditingCommand(id))
        return;
    switch (id) {
    case CmdExit:
    case CmdTrayExit:
        ExitProgram();
        break;
    case CmdTrayShow:
        ShowFromTray();
        break;
    case CmdTrayPause:
        TogglePause();
        break;
    case CmdTrayInsert:
        TrayInsertExecute();
        break;
    case CmdCopyEntire:
        CopyEntireExecute();
        break;
    case CmdPasteLastActive:
        PasteIntoLastActiveExecute();
        break;
    case CmdToggleMode:
        ToggleModeCommand();
        break;
    // The Edit menu's editing commands belong to the reply editor; the name
    // and macro boxes keep their own keys.
    case CmdCopy:
        editorControl_->Copy();
        break;
    case CmdCopyName:
        NavCtxCopyExecute();
        break;
    case CmdCut:
        editorControl_->Cut();
        break;
    case CmdPaste:
        editorControl_->Paste();
        break;
    case CmdUndo:
        editorControl_->Undo();
        break;
    case CmdRedo:
        editorControl_->Redo();
        break;
    case CmdSelectAll:
        editorControl_->SelectAll();
        break;
    case CmdOptions:
        ShowOptionsDialog(window_, registry_, GlobalParams().ProgramPath);
        break;
    case CmdHelpTopics:
        OpenHelpTopics(GlobalParams());
        break;
    case CmdTutorials:
        OpenTutorials(GlobalParams());
        break;
    case CmdTipOfTheDay:
        ShowTipOfTheDay(window_, registry_);
        break;
    case CmdTutorialMovie:
        OpenTutorialMovie();
        break;
    case CmdHomePage:
        OpenProductHomePage();
        break;
    case CmdMakerHomePage:
        OpenMakerHomePage();
        break;
    case CmdAbout:
        ShowAboutBox(window_, appIcon_.Get());
        break;
    default:
        if (id >= CmdPlaceholderFirst && id < CmdPlaceholderFirst + PlaceholderCount)
            InsertPlaceholder(id - CmdPlaceholderFirst);
        break;
    }
}

void TFormCorvane::ExitProgram()
{
    // Ends the message loop; the window is destroyed after it.
    PostQuitMessage(0);
}

} // namespace corvane::win32
