#pragma once
// The options dialog's behaviour over a view of its check boxes and the
// list of the user's own console windows.
#include "library/Texts.h"
#include "platform/Registry.h"

#include <string>
#include <vector>

namespace corvane {

enum class OptionBox {
    TipOfDay,
    AutoRun,
    AlwaysOnTop,
    ShowMacroIns,
    KeepClipboard,
    PickerEnabled,
    UndoWithBackspace,
    FollowMacroCase,
    EndKeysTabEnter
};
enum class OptionText { TeamFolder, TeamName }; // "Team library folder" and its name

class IOptionsView {
public:
    virtual ~IOptionsView() = default;
    virtual void SetChecked(OptionBox box, bool checked) = 0;
    virtual bool IsChecked(OptionBox box) const = 0;
    // The list of programs where nothing is expanded, the name typed to add
    // to it and the position selected in it (-1 for none).
    virtual void SetExcludedPrograms(const std::vector<std::string>& names) = 0;
    virtual std::vector<std::string> ExcludedPrograms() const = 0;
    virtual std::string TypedProgram() const = 0;
    virtual void SetTypedProgram(const std::string& text) = 0;
    virtual int SelectedProgram() const = 0;
    // Window classes of consoles and terminals, as the user typed them.
    virtual void SetConsoleClasses(const std::string& text) = 0;
    virtual std::string ConsoleClasses() const = 0;
    virtual void SetText(OptionText field, const std::string& text) = 0;
    virtual std::string Text(OptionText field) const = 0;
    // Message boxes belong to the dialog.
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void MakeMainWindowTopmost() = 0;
};

class TOptionsDialogModel {
public:
    TOptionsDialogModel(IRegistry& reg, IOptionsView& view, std::string programPath);

    // Every showing reloads the boxes from the settings.
    void Load();
    // Switching Always on Top off takes a restart; say so at the click.
    void AlwaysOnTopClicked();
    void AddProgramClicked();
    void RemoveProgramClicked();
    // Writes every setting; Cancel writes nothing and needs no handler. When
    // a setting cannot be written the user is told, and the result is false.
    bool Ok();
    // After Ok: the team library's setting changed, so it must be loaded anew.
    bool TeamLibraryChanged() const { return teamChanged_; }

private:
    IRegistry& reg_;
    IOptionsView& view_;
    std::string programPath_;
    bool teamChanged_ = false;
};

} // namespace corvane
