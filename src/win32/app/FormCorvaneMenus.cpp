// Main window: the menu bar, the keyboard shortcuts and the command dispatch.
#include "win32/app/FormCorvaneAdapters.h"

#include <richedit.h>

#include "shell/UnitGlobalParams.h"
#include "win32/AboutBox.h"
#include "win32/MenuItems.h"
#include "win32/OptionsDialog.h"
#include "win32/ShellOpen.h"
#include "win32/TipDialog.h"
#include "engine/PredefinedInsertions.h"
#include "win32/app/CommandIds.h"

namespace corvane::win32 {

void TFormCorvane::BuildMainMenu()
{
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendItem(file, CmdExit, "E&xit\tAlt+F4");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");

    HMENU edit = CreatePopupMenu();
    AppendItem(edit, CmdAddFolder, "Add New Folder\tCtrl+Shift+N");
    AppendItem(edit, CmdAddReply, "Add New Reply\tCtrl+N");
    AppendItem(edit, CmdDelete, "Delete\tShift+Del");
    AppendSeparator(edit);
    AppendItem(edit, CmdSaveAll, "Save All\tCtrl+S");
    AppendSeparator(edit);
    AppendItem(edit, CmdUndo, "Undo\tCtrl+Z");
    AppendItem(edit, CmdRedo, "Redo\tCtrl+Shift+Z");
    AppendSeparator(edit);
    AppendItem(edit, CmdCut, "Cut\tCtrl+X");
    AppendItem(edit, CmdCopy, "Copy\tCtrl+C");
    AppendItem(edit, CmdCopyEntire, "Copy the entire reply\tCtrl+Shift+C");
    AppendItem(edit, CmdPaste, "Paste\tCtrl+V");
    AppendItem(edit, CmdPasteLastActive, "Paste the reply into the last active window");
    AppendItem(edit, CmdSelectAll, "Select All\tCtrl+A");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");

    AppendItem(bar, CmdOptions, "Options");

    HMENU help = CreatePopupMenu();
    AppendItem(help, CmdHelpTopics, "&Help Topics\tF1");
    AppendItem(help, CmdTutorials, "&Tutorials");
    AppendItem(help, CmdTipOfTheDay, "Tip of the &Day");
    AppendSeparator(help);
    AppendItem(help, CmdTutorialMovie, "Watch the Tutorial Movie");
    AppendItem(help, CmdHomePage, "&Corvane Home Page");
    AppendItem(help, CmdMakerHomePage, "&Tarnwick Home Page");
    AppendSeparator(help);
    AppendItem(help, CmdAbout, "&About Corvane");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "Help");

    AppendItem(bar, CmdToggleMode, "Change Mode");
    SetMenu(window_, bar); // the window owns and destroys its menu bar
}

void TFormCorvane::BuildAccelerators()
{
    ACCEL keys[] = {
        {FALT | FVIRTKEY, VK_F4, CmdExit},
        {FCONTROL | FSHIFT | FVIRTKEY, 'N', CmdAddFolder},
        {FCONTROL | FVIRTKEY, 'N', CmdAddReply},
        {FSHIFT | FVIRTKEY, VK_DELETE, CmdDelete},
        {FCONTROL | FVIRTKEY, 'S', CmdSaveAll},
        {FCONTROL | FVIRTKEY, 'Z', CmdUndo},
        {FCONTROL | FSHIFT | FVIRTKEY, 'Z', CmdRedo},
        {FCONTROL | FVIRTKEY, 'X', CmdCut},
        {FCONTROL | FVIRTKEY, 'C', CmdCopy},
        {FCONTROL | FSHIFT | FVIRTKEY, 'C', CmdCopyEntire},
        {FCONTROL | FVIRTKEY, 'V', CmdPaste},
        {FCONTROL | FVIRTKEY, 'A', CmdSelectAll},
        {FVIRTKEY, VK_F1, CmdHelpTopics},
    };
    accelerators_.Reset(CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys))));
}

void TFormCorvane::OnCommand(int id)
{
    switch (id) {
    case CmdExit:
    case CmdTrayExit:
        ExitProgram();
        break;
    case CmdTrayShow:
        ShowFromTray();
        break;
    case CmdPreDefParams:
        ShowPlaceholderMenu();
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
    case CmdCopy:
        if (GetFocus() == navigation_)
            NavCtxCopyExecute();
        else
            ForwardToFocusedText(WM_COPY, 0, 0);
        break;
    case CmdCopyName:
        NavCtxCopyExecute();
        break;
    case CmdCut:
        ForwardToFocusedText(WM_CUT, 0, 0);
        break;
    case CmdPaste:
        ForwardToFocusedText(WM_PASTE, 0, 0);
        break;
    case CmdUndo:
        ForwardToFocusedText(EM_UNDO, 0, 0);
        break;
    case CmdRedo:
        ForwardToFocusedText(EM_REDO, 0, 0);
        break;
    case CmdSelectAll:
        ForwardToFocusedText(EM_SETSEL, 0, -1);
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
