#include "win32/OptionsDialog.h"

#include "library/UnitCommonProcs.h"
#include "shell/UnitCorvaneOptions.h"
#include "win32/ModalDialog.h"
#include "win32/Win32MessageBoxes.h"

namespace corvane::win32 {

namespace {

enum ControlId {
    IdTipOfDay = 101,
    IdAutoRun,
    IdAlwaysOnTop,
    IdShowMacroIns,
    IdConsoleClasses,
    IdKeepClipboard,
    IdTeamFolder,
    IdTeamName,
    IdPickerEnabled,
    IdExcludedList,
    IdExcludedName,
    IdAddProgram,
    IdRemoveProgram,
    IdUndoWithBackspace,
    IdFollowMacroCase,
    IdEndKeysTabEnter
};

class OptionsDialog final : public ModalDialog, private IOptionsView {
public:
    OptionsDialog(HWND mainWindow, IRegistry& registry, const std::string& programPath)
        : mainWindow_(mainWindow), model_(registry, *this, programPath)
    { }

    bool Show()
    {
        const bool ok
            = Run(mainWindow_, mainWindow_, "Corvane - Options", WS_POPUP | WS_CAPTION | WS_SYSMENU, 367, 574) == IDOK;
        // While the dialog it owns is up, Wine refuses to make the main window
        // topmost; the dialog is gone now.
        if (makeTopmost_)
            ::SetWindowPos(mainWindow_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return ok;
    }
    bool TeamLibraryChanged() const { return teamChanged_; }

private:
    void OnStart() override
    {
        // Created in the order of the keyboard focus.
        const DWORD box = BS_AUTOCHECKBOX | WS_TABSTOP;
        AddControl("BUTTON", "Show Tip of The Day on program startup", box, IdTipOfDay, 16, 16, 330, 20);
        AddControl("BUTTON", "Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 186, 536, 80, 26);
        AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 274, 536, 80, 26);
        AddControl("BUTTON", "Autorun Corvane on windows startup", box, IdAutoRun, 16, 44, 330, 20);
        AddControl("BUTTON", "Enable the Macro Insertions and Replacements dialog", box | BS_MULTILINE, IdShowMacroIns,
            16, 100, 230, 36);
        AddControl("BUTTON", "Give the clipboard back after pasting a reply", box, IdKeepClipboard, 16, 140, 330, 20);
        AddControl("BUTTON", "Always on Top", box, IdAlwaysOnTop, 16, 72, 330, 20);
        AddControl(
            "STATIC", "More console windows, typed into (class names, comma separated):", 0, -1, 16, 174, 346, 20);
        AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, IdConsoleClasses, 16, 196, 338, 24);
        AddControl("BUTTON", "Find a reply by typing: Ctrl+Alt+Space opens the picker", box, IdPickerEnabled, 16, 230,
            340, 20);
        AddControl(
            "BUTTON", "Backspace right after an expansion takes it back", box, IdUndoWithBackspace, 16, 254, 340, 20);
        AddControl("BUTTON", "Follow the macro's case: Sig gives a capital, SIG capitals", box, IdFollowMacroCase, 16,
            278, 340, 20);
        AddControl("BUTTON", "Tab and Enter end a macro as the space does", box, IdEndKeysTabEnter, 16, 302, 340, 20);
        AddControl("STATIC", "Do not expand in these programs", 0, -1, 16, 330, 330, 18);
        AddControl("LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, IdExcludedList, 16, 350,
            240, 80);
        AddControl("BUTTON", "Remove", BS_PUSHBUTTON | WS_TABSTOP, IdRemoveProgram, 264, 350, 90, 24);
        AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, IdExcludedName, 16, 436, 240, 24);
        AddControl("BUTTON", "Add", BS_PUSHBUTTON | WS_TABSTOP, IdAddProgram, 264, 436, 90, 24);
        AddControl("STATIC", "Team library folder:", SS_LEFT | SS_CENTERIMAGE, -1, 16, 470, 124, 22);
        AddControl("EDIT", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, IdTeamFolder, 144, 470, 210, 22);
        AddControl("STATIC", "Its name in the tree:", SS_LEFT | SS_CENTERIMAGE, -1, 16, 500, 124, 22);
        AddControl("EDIT", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, IdTeamName, 144, 500, 210, 22);
        model_.Load();
        ::SetFocus(::GetDlgItem(Dialog(), IdTipOfDay));
    }

    void OnCommand(int id, int notification) override
    {
        if (notification != BN_CLICKED)
            return;
        switch (id) {
        case IdAlwaysOnTop:
            model_.AlwaysOnTopClicked();
            break;
        case IdAddProgram:
            model_.AddProgramClicked();
            break;
        case IdRemoveProgram:
            model_.RemoveProgramClicked();
            break;
        case IDOK:
            model_.Ok();
            teamChanged_ = model_.TeamLibraryChanged();
            End(IDOK);
            break;
        case IDCANCEL:
            End(IDCANCEL);
            break;
        default:
            break;
        }
    }

    static int IdOf(OptionBox box)
    {
        switch (box) {
        case OptionBox::TipOfDay:
            return IdTipOfDay;
        case OptionBox::AutoRun:
            return IdAutoRun;
        case OptionBox::AlwaysOnTop:
            return IdAlwaysOnTop;
        case OptionBox::ShowMacroIns:
            return IdShowMacroIns;
        case OptionBox::KeepClipboard:
            return IdKeepClipboard;
        case OptionBox::PickerEnabled:
            return IdPickerEnabled;
        case OptionBox::UndoWithBackspace:
            return IdUndoWithBackspace;
        case OptionBox::FollowMacroCase:
            return IdFollowMacroCase;
        case OptionBox::EndKeysTabEnter:
            return IdEndKeysTabEnter;
        }
        return 0;
    }

    void SetChecked(OptionBox box, bool checked) override
    {
        ::CheckDlgButton(Dialog(), IdOf(box), checked ? BST_CHECKED : BST_UNCHECKED);
    }
    bool IsChecked(OptionBox box) const override { return ::IsDlgButtonChecked(Dialog(), IdOf(box)) == BST_CHECKED; }
    void SetExcludedPrograms(const std::vector<std::string>& names) override
    {
        HWND list = ::GetDlgItem(Dialog(), IdExcludedList);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : names)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    std::vector<std::string> ExcludedPrograms() const override
    {
        HWND list = ::GetDlgItem(Dialog(), IdExcludedList);
        std::vector<std::string> names;
        const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::string name(static_cast<size_t>(::SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
            ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name.data()));
            names.push_back(name);
        }
        return names;
    }
    std::string TypedProgram() const override
    {
        char text[MAX_PATH] = {};
        ::GetDlgItemTextA(Dialog(), IdExcludedName, text, sizeof text);
        return text;
    }
    void SetTypedProgram(const std::string& text) override
    {
        ::SetDlgItemTextA(Dialog(), IdExcludedName, text.c_str());
    }
    int SelectedProgram() const override
    {
        return static_cast<int>(::SendDlgItemMessageA(Dialog(), IdExcludedList, LB_GETCURSEL, 0, 0));
    }
    void SetConsoleClasses(const std::string& text) override
    {
        ::SetDlgItemTextA(Dialog(), IdConsoleClasses, text.c_str());
    }
    std::string ConsoleClasses() const override
    {
        char text[1024] = {};
        ::GetDlgItemTextA(Dialog(), IdConsoleClasses, text, sizeof text);
        return text;
    }
    static int IdOf(OptionText field) { return field == OptionText::TeamFolder ? IdTeamFolder : IdTeamName; }
    void SetText(OptionText field, const std::string& text) override
    {
        ::SetDlgItemTextA(Dialog(), IdOf(field), text.c_str());
    }
    std::string Text(OptionText field) const override
    {
        char text[MAX_PATH * 2] = {};
        ::GetDlgItemTextA(Dialog(), IdOf(field), text, static_cast<int>(sizeof text));
        return text;
    }
    // Owned by the dialog, so that it stays above it and the dialog waits.
    void ShowWarning(const std::string& text) override
    {
        const MessageBoxOwnerScope owner(Dialog());
        corvane::ShowWarning(text);
    }
    void ShowError(const std::string& text) override
    {
        const MessageBoxOwnerScope owner(Dialog());
        corvane::ShowError(text);
    }
    void MakeMainWindowTopmost() override { makeTopmost_ = true; }

    HWND mainWindow_;
    TOptionsDialogModel model_;
    bool makeTopmost_ = false;
    bool teamChanged_ = false;
};

} // namespace

OptionsOutcome ShowOptionsDialog(HWND mainWindow, IRegistry& registry, const std::string& programPath)
{
    OptionsDialog dialog(mainWindow, registry, programPath);
    const bool ok = dialog.Show();
    return {ok, ok && dialog.TeamLibraryChanged()};
}

} // namespace corvane::win32
