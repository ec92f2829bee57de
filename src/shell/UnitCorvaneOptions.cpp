#include "shell/UnitCorvaneOptions.h"

#include "library/ExcludedPrograms.h"
#include "shell/UnitSettings.h"

#include <utility>

namespace corvane {

TOptionsDialogModel::TOptionsDialogModel(IRegistry& reg, IOptionsView& view, std::string programPath)
    : reg_(reg), view_(view), programPath_(std::move(programPath))
{ }

void TOptionsDialogModel::Load()
{
    view_.SetChecked(OptionBox::TipOfDay, ReadProgramFlag(reg_, kShowTips));
    view_.SetChecked(OptionBox::AutoRun, AutorunEnabled(reg_));
    view_.SetChecked(OptionBox::ShowMacroIns, ReadProgramFlag(reg_, kShowMacroIns));
    view_.SetChecked(OptionBox::PickerEnabled, ReadPickerEnabled(reg_));
    view_.SetExcludedPrograms(ExcludedProgramNames(ReadProgramString(reg_, kExcludedPrograms)));
    view_.SetTypedProgram({});
    view_.SetChecked(OptionBox::KeepClipboard, ReadProgramFlag(reg_, kKeepClipboard));
    view_.SetChecked(OptionBox::UndoWithBackspace, ReadUndoWithBackspace(reg_));
    view_.SetChecked(OptionBox::FollowMacroCase, ReadFollowMacroCase(reg_));
    view_.SetChecked(OptionBox::EndKeysTabEnter, ReadEndKeysTabEnter(reg_));
    view_.SetConsoleClasses(ReadProgramString(reg_, kConsoleClasses));
    const TSharedLibrarySetting team = ReadSharedLibrarySetting(reg_);
    view_.SetText(OptionText::TeamFolder, team.folder);
    view_.SetText(OptionText::TeamName, team.name);
    const bool wasChecked = view_.IsChecked(OptionBox::AlwaysOnTop);
    const bool checked = ReadProgramFlag(reg_, kAlwaysOnTop);
    view_.SetChecked(OptionBox::AlwaysOnTop, checked);
    if (wasChecked != checked)
        AlwaysOnTopClicked();
}

void TOptionsDialogModel::AlwaysOnTopClicked()
{
    if (!view_.IsChecked(OptionBox::AlwaysOnTop) && ReadProgramFlag(reg_, kAlwaysOnTop))
        view_.ShowWarning(kAlwaysOnTopRestartWarning);
}

void TOptionsDialogModel::AddProgramClicked()
{
    std::vector<std::string> names = view_.ExcludedPrograms();
    const std::string name = ProgramNameToAdd(view_.TypedProgram(), names);
    if (!name.empty()) {
        names.push_back(name);
        view_.SetExcludedPrograms(names);
    }
    view_.SetTypedProgram({});
}

void TOptionsDialogModel::RemoveProgramClicked()
{
    std::vector<std::string> names = view_.ExcludedPrograms();
    const int at = view_.SelectedProgram();
    if (at < 0 || at >= static_cast<int>(names.size()))
        return;
    names.erase(names.begin() + at);
    view_.SetExcludedPrograms(names);
}

bool TOptionsDialogModel::Ok()
{
    // Each setting is written even when one before it failed.
    bool written = WriteProgramFlag(reg_, kShowTips, view_.IsChecked(OptionBox::TipOfDay));
    written = SetAutorun(reg_, view_.IsChecked(OptionBox::AutoRun), programPath_) && written;
    written = WriteProgramFlag(reg_, kShowMacroIns, view_.IsChecked(OptionBox::ShowMacroIns)) && written;
    written = WriteProgramFlag(reg_, kPickerEnabled, view_.IsChecked(OptionBox::PickerEnabled)) && written;
    // A name typed but not added yet is meant to be on the list.
    AddProgramClicked();
    written = WriteProgramString(reg_, kExcludedPrograms, JoinExcludedPrograms(view_.ExcludedPrograms())) && written;
    written = WriteProgramFlag(reg_, kKeepClipboard, view_.IsChecked(OptionBox::KeepClipboard)) && written;
    written = WriteProgramFlag(reg_, kUndoWithBackspace, view_.IsChecked(OptionBox::UndoWithBackspace)) && written;
    written = WriteProgramFlag(reg_, kFollowMacroCase, view_.IsChecked(OptionBox::FollowMacroCase)) && written;
    written = WriteProgramFlag(reg_, kEndKeysTabEnter, view_.IsChecked(OptionBox::EndKeysTabEnter)) && written;
    written = WriteProgramString(reg_, kConsoleClasses, view_.ConsoleClasses()) && written;
    const bool onTop = view_.IsChecked(OptionBox::AlwaysOnTop);
    written = WriteProgramFlag(reg_, kAlwaysOnTop, onTop) && written;
    const TSharedLibrarySetting before = ReadSharedLibrarySetting(reg_);
    written = WriteSharedLibrarySetting(reg_, {view_.Text(OptionText::TeamFolder), view_.Text(OptionText::TeamName)})
        && written;
    teamChanged_ = !(ReadSharedLibrarySetting(reg_) == before);
    if (onTop)
        view_.MakeMainWindowTopmost();
    if (!written)
        view_.ShowError(kMsgSettingsNotSaved);
    return written;
}

} // namespace corvane
