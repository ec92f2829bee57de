#include "fakes/FakeRegistry.h"
#include "shell/UnitCorvaneOptions.h"
#include "shell/UnitHelpLinks.h"
#include "shell/UnitSettings.h"
#include "shell/UnitTipDialog.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane {
namespace {

using test::Binary;
using test::Dword;
using test::FakeRegistry;
using test::String;

class FakeOptionsView final : public IOptionsView {
public:
    std::map<OptionBox, bool> boxes;
    std::map<OptionText, std::string> texts;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    int topmostCalls = 0;
    void SetChecked(OptionBox b, bool c) override { boxes[b] = c; }
    bool IsChecked(OptionBox b) const override { return boxes.count(b) && boxes.at(b); }
    void SetText(OptionText f, const std::string& t) override { texts[f] = t; }
    std::string Text(OptionText f) const override { return texts.count(f) ? texts.at(f) : std::string(); }
    void SetExcludedPrograms(const std::vector<std::string>& names) override { programs = names; }
    std::vector<std::string> ExcludedPrograms() const override { return programs; }
    std::string TypedProgram() const override { return typed; }
    void SetTypedProgram(const std::string& text) override { typed = text; }
    int SelectedProgram() const override { return selected; }
    std::vector<std::string> programs;
    std::string typed;
    int selected = -1;
    void ShowWarning(const std::string& t) override { warnings.push_back(t); }
    void ShowError(const std::string& t) override { errors.push_back(t); }
    void MakeMainWindowTopmost() override { ++topmostCalls; }
    void SetConsoleClasses(const std::string& text) override { consoleClasses = text; }
    std::string ConsoleClasses() const override { return consoleClasses; }
    std::string consoleClasses;
};

const std::string kPath = "C:\\Program Files\\Corvane\\Corvane.exe";

FakeRegistry Defaults()
{
    FakeRegistry reg;
    EXPECT_TRUE(EnsureDefaultSettings(reg));
    reg.AddKey(kRunKey);
    return reg;
}

TEST(OptionsDialog, LoadShowsTheSettings)
{
    FakeRegistry reg = Defaults();
    reg.Put(kProgramKey, kShowMacroIns, Dword(2));
    reg.Put(kRunKey, kAutorunValue, Binary({}));
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    EXPECT_TRUE(view.IsChecked(OptionBox::TipOfDay));
    EXPECT_TRUE(view.IsChecked(OptionBox::AutoRun));
    EXPECT_FALSE(view.IsChecked(OptionBox::ShowMacroIns));
    EXPECT_FALSE(view.IsChecked(OptionBox::AlwaysOnTop));
    EXPECT_TRUE(view.IsChecked(OptionBox::KeepClipboard)); // on unless switched off
    EXPECT_TRUE(view.warnings.empty());
}

TEST(OptionsDialog, TypingOptionsHaveTheirDefaultsUntilWritten)
{
    // Never written: Backspace undoes and the case is followed; Tab and Enter do not end macros.
    FakeRegistry reg = Defaults();
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    EXPECT_TRUE(view.IsChecked(OptionBox::UndoWithBackspace));
    EXPECT_TRUE(view.IsChecked(OptionBox::FollowMacroCase));
    EXPECT_FALSE(view.IsChecked(OptionBox::EndKeysTabEnter));
    view.boxes[OptionBox::UndoWithBackspace] = false;
    view.boxes[OptionBox::EndKeysTabEnter] = true;
    model.Ok();
    EXPECT_EQ(reg.Get(kProgramKey, kUndoWithBackspace), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, kFollowMacroCase), Dword(1));
    EXPECT_EQ(reg.Get(kProgramKey, kEndKeysTabEnter), Dword(1));
    EXPECT_FALSE(ReadUndoWithBackspace(reg));
    EXPECT_TRUE(ReadEndKeysTabEnter(reg));
}

TEST(OptionsDialog, OkWritesEverythingWithTheQuotedAutorunPath)
{
    FakeRegistry reg = Defaults();
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    view.boxes[OptionBox::TipOfDay] = false;
    view.boxes[OptionBox::AutoRun] = true;
    view.boxes[OptionBox::ShowMacroIns] = false;
    view.boxes[OptionBox::AlwaysOnTop] = true;
    view.boxes[OptionBox::KeepClipboard] = false;
    model.AlwaysOnTopClicked();
    model.Ok();
    EXPECT_EQ(reg.Get(kProgramKey, kKeepClipboard), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, kShowMacroIns), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, kAlwaysOnTop), Dword(1));
    EXPECT_EQ(reg.Get(kRunKey, kAutorunValue), String("\"" + kPath + "\" -hidden"));
    EXPECT_EQ(view.topmostCalls, 1);
    EXPECT_TRUE(view.warnings.empty());

    view.boxes[OptionBox::AutoRun] = false;
    view.boxes[OptionBox::AlwaysOnTop] = false;
    model.Ok();
    EXPECT_FALSE(reg.Get(kRunKey, kAutorunValue));
    EXPECT_EQ(reg.Get(kProgramKey, kAlwaysOnTop), Dword(0));
    EXPECT_EQ(view.topmostCalls, 1);

    EXPECT_EQ(view.consoleClasses, "");
    view.consoleClasses = "VimWindow, kitty";
    model.Ok();
    EXPECT_EQ(ReadProgramString(reg, kConsoleClasses), "VimWindow, kitty");
    model.Load();
    EXPECT_EQ(view.consoleClasses, "VimWindow, kitty");
}

TEST(OptionsDialog, ThePickerIsOnUntilSwitchedOffAndTheProgramListIsEditedByFileName)
{
    FakeRegistry reg = Defaults();
    reg.Put(kProgramKey, kExcludedPrograms, String("KeePass.exe;;mstsc.exe"));
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    EXPECT_TRUE(view.IsChecked(OptionBox::PickerEnabled)); // no value yet
    EXPECT_EQ(view.programs, (std::vector<std::string>{"KeePass.exe", "mstsc.exe"}));

    view.typed = "  C:\\Games\\Quake.exe ";
    model.AddProgramClicked();
    view.typed = "KEEPASS.EXE"; // listed already
    model.AddProgramClicked();
    view.typed = "a.exe;b.exe"; // would be two
    model.AddProgramClicked();
    EXPECT_EQ(view.programs, (std::vector<std::string>{"KeePass.exe", "mstsc.exe", "Quake.exe"}));
    EXPECT_EQ(view.typed, "");
    view.selected = 1;
    model.RemoveProgramClicked();
    view.boxes[OptionBox::PickerEnabled] = false;
    view.typed = "game.exe"; // typed but not added when Ok is clicked
    model.Ok();
    EXPECT_EQ(reg.Get(kProgramKey, kExcludedPrograms), String("KeePass.exe;Quake.exe;game.exe"));
    EXPECT_EQ(reg.Get(kProgramKey, kPickerEnabled), Dword(0));
    EXPECT_FALSE(ReadPickerEnabled(reg));
}

TEST(OptionsDialog, CancelWritesNothingAndTheNextLoadRestoresTheBoxes)
{
    FakeRegistry reg = Defaults();
    reg.Put(kProgramKey, kAlwaysOnTop, Dword(1));
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    EXPECT_TRUE(view.warnings.empty());
    view.boxes[OptionBox::AlwaysOnTop] = false;
    model.AlwaysOnTopClicked();
    EXPECT_EQ(view.warnings, std::vector<std::string>{kAlwaysOnTopRestartWarning});
    // Cancel: the model is not asked to write.
    EXPECT_EQ(reg.Get(kProgramKey, kAlwaysOnTop), Dword(1));
    model.Load();
    EXPECT_TRUE(view.IsChecked(OptionBox::AlwaysOnTop));
    EXPECT_EQ(view.warnings.size(), 1u);
}

TEST(OptionsDialog, WarningOnlyWhenSwitchingOffAStoredOn)
{
    FakeRegistry reg = Defaults();
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    view.boxes[OptionBox::AlwaysOnTop] = true;
    model.AlwaysOnTopClicked();
    view.boxes[OptionBox::AlwaysOnTop] = false;
    model.AlwaysOnTopClicked(); // stored value is 0: no restart needed
    EXPECT_TRUE(view.warnings.empty());
}

TEST(OptionsDialog, TheTeamLibraryFolderAndNameAreStringsAndAChangeIsReported)
{
    FakeRegistry reg = Defaults();
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    EXPECT_EQ(view.texts[OptionText::TeamFolder], "");
    EXPECT_EQ(view.texts[OptionText::TeamName], "Team");
    model.Ok();
    EXPECT_FALSE(model.TeamLibraryChanged());

    view.texts[OptionText::TeamFolder] = "\\\\server\\support\\";
    view.texts[OptionText::TeamName] = "";
    model.Ok();
    EXPECT_TRUE(model.TeamLibraryChanged());
    EXPECT_EQ(reg.Get(kProgramKey, kSharedLibrary), String("\\\\server\\support\\"));
    EXPECT_EQ(reg.Get(kProgramKey, kSharedLibraryName), String("Team"));
    EXPECT_EQ(ReadSharedLibrarySetting(reg), (TSharedLibrarySetting{"\\\\server\\support", "Team"}));

    view.texts[OptionText::TeamName] = "Support";
    model.Ok();
    EXPECT_TRUE(model.TeamLibraryChanged());
    model.Ok();
    EXPECT_FALSE(model.TeamLibraryChanged());
}

TEST(OptionsDialog, BinaryAlwaysOnTopStaysBinaryAndMissingRunKeyStillWritesTheRest)
{
    FakeRegistry reg;
    EXPECT_TRUE(EnsureDefaultSettings(reg));
    reg.Put(kProgramKey, kAlwaysOnTop, Binary({1, 0, 0, 0}));
    FakeOptionsView view;
    TOptionsDialogModel model(reg, view, kPath);
    model.Load();
    EXPECT_TRUE(view.IsChecked(OptionBox::AlwaysOnTop));
    view.boxes[OptionBox::AutoRun] = true;
    view.boxes[OptionBox::TipOfDay] = false;
    model.Ok();
    EXPECT_EQ(reg.Get(kProgramKey, kAlwaysOnTop), Binary({1, 0, 0, 0}));
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(0));
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, kRunKey));
}

class FakeTipView final : public ITipView {
public:
    bool showNextTime = false;
    bool nextEnabled = true;
    std::string text;
    void SetShowNextTime(bool c) override { showNextTime = c; }
    bool ShowNextTime() const override { return showNextTime; }
    void SetNextEnabled(bool e) override { nextEnabled = e; }
    void SetTipText(const std::string& t) override { text = t; }
    void ShowError(const std::string& t) override { errors.push_back(t); }
    std::vector<std::string> errors;
};

class ScriptedRandom final : public IRandomSource {
public:
    std::vector<int> script;
    std::vector<int> counts;
    int seeds = 0;
    void SeedFromClock() override { ++seeds; }
    int Below(int count) override
    {
        counts.push_back(count);
        const int v = script.empty() ? 0 : script.front();
        if (!script.empty())
            script.erase(script.begin());
        return v;
    }
};

TEST(TipDialog, TheTenTipsInOrderThenTheTypingTips)
{
    const auto& tips = TipsOfTheDay();
    ASSERT_EQ(tips.size(), 15u);
    EXPECT_EQ(tips[1], "You can Drag text from any other window and Drop directly in the reply editor.");
    EXPECT_EQ(tips[9].substr(0, 35), "Assign parametric macro to a reply ");
}

TEST(TipDialog, ShownSeedsAndPicksRandomTipsThatMayRepeat)
{
    FakeRegistry reg = Defaults();
    FakeTipView view;
    ScriptedRandom random;
    random.script = {3, 3, 9};
    TTipDialogModel model(reg, view, random);
    model.Shown();
    EXPECT_TRUE(view.showNextTime);
    EXPECT_TRUE(view.nextEnabled);
    EXPECT_EQ(random.seeds, 1);
    EXPECT_EQ(view.text, TipsOfTheDay()[3]);
    model.Next();
    EXPECT_EQ(view.text, TipsOfTheDay()[3]);
    model.Next();
    EXPECT_EQ(view.text, TipsOfTheDay()[9]);
    EXPECT_EQ(random.counts, (std::vector<int>{15, 15, 15}));
}

TEST(TipDialog, EmptyAndSingleLists)
{
    FakeRegistry reg = Defaults();
    FakeTipView view;
    ScriptedRandom random;
    TTipDialogModel empty(reg, view, random, {});
    empty.Shown();
    EXPECT_FALSE(view.nextEnabled);
    EXPECT_EQ(view.text, kEmptyTipsText);
    empty.Next();
    EXPECT_EQ(view.text, kEmptyTipsText);
    EXPECT_TRUE(random.counts.empty());

    TTipDialogModel one(reg, view, random, {"only"});
    one.Shown();
    EXPECT_FALSE(view.nextEnabled);
    EXPECT_EQ(view.text, "only");
}

TEST(TipDialog, ClosingWritesShowTipsEvenWhenItWasDeleted)
{
    FakeRegistry reg = Defaults();
    reg.Put(kProgramKey, kShowTips, Dword(0));
    FakeTipView view;
    ScriptedRandom random;
    TTipDialogModel model(reg, view, random);
    model.Shown();
    EXPECT_FALSE(view.showNextTime);
    view.showNextTime = true;
    EXPECT_TRUE(model.Closed());
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(1));

    EXPECT_TRUE(SettingsDeleteValue(reg, RegRoot::CurrentUser, kProgramKey, kShowTips));
    model.Shown();
    EXPECT_FALSE(view.showNextTime);
    EXPECT_TRUE(model.Closed());
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(0));
}

TEST(TipDialog, StartupTipFollowsShowTips)
{
    FakeRegistry reg = Defaults();
    FakeTipView view;
    ScriptedRandom random;
    TTipDialogModel model(reg, view, random);
    EXPECT_TRUE(model.PrepareStartupTip());
    EXPECT_TRUE(view.showNextTime);
    reg.Put(kProgramKey, kShowTips, Dword(0));
    EXPECT_FALSE(model.PrepareStartupTip());
    EXPECT_FALSE(view.showNextTime);
}

TEST(TipDialog, ASecondRequestWhileOpenLeavesTheOpenDialogAsTheUserHasIt)
{
    FakeRegistry reg = Defaults();
    FakeTipView view;
    ScriptedRandom random;
    TTipDialogModel model(reg, view, random);
    model.Shown();
    EXPECT_TRUE(model.IsOpen());
    view.showNextTime = false; // the user unticks the box
    reg.Put(kProgramKey, kShowTips, Dword(1));
    EXPECT_TRUE(model.PrepareStartupTip()) << "the open dialog is brought forward";
    EXPECT_FALSE(view.showNextTime);
    EXPECT_TRUE(model.Closed());
    EXPECT_FALSE(model.IsOpen());
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(0));
}

TEST(OptionsAndTips, SettingsTheRegistryRefusesAreReportedNotTakenForWritten)
{
    FakeRegistry reg = Defaults();
    reg.failValueWrites = true;
    FakeOptionsView options;
    TOptionsDialogModel dialog(reg, options, kPath);
    dialog.Load();
    options.boxes[OptionBox::TipOfDay] = false;
    EXPECT_FALSE(dialog.Ok());
    EXPECT_EQ(options.errors, (std::vector<std::string>{kMsgSettingsNotSaved}));

    FakeTipView view;
    ScriptedRandom random;
    TTipDialogModel tip(reg, view, random);
    tip.Shown();
    view.showNextTime = false;
    EXPECT_FALSE(tip.Closed());
    EXPECT_EQ(view.errors, (std::vector<std::string>{kMsgSettingsNotSaved}));

    reg.failValueWrites = false;
    EXPECT_TRUE(dialog.Ok());
    EXPECT_EQ(options.errors.size(), 1u) << "no box when everything is written";
}

TEST(ClockRandomSource, StaysInRange)
{
    TClockRandomSource random;
    random.SeedFromClock();
    std::vector<int> seen(10, 0);
    for (int i = 0; i < 1000; ++i) {
        const int v = random.Below(10);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 10);
        ++seen[static_cast<std::size_t>(v)];
    }
    for (int n : seen)
        EXPECT_GT(n, 0);
}

TEST(HelpLinks, AddressesCarryPathAndRefTag)
{
    const std::string site = kMakerSite;
    EXPECT_EQ(WebPageAddress(WebPage::ProductHome, LinkSource::HelpMenu), site + "/corvane/?ref=corvane2help");
    EXPECT_EQ(WebPageAddress(WebPage::TutorialMovie, LinkSource::HelpMenu),
        site + "/corvane/tutorial_mov.html?ref=corvane2help");
    EXPECT_EQ(WebPageAddress(WebPage::MakerHome, LinkSource::AboutBox), site + "/?ref=corvane2about");
    EXPECT_EQ(site.find(MakerSiteDisplayText()), site.size() - MakerSiteDisplayText().size());
}

} // namespace
} // namespace corvane
