// The options, tip and about dialogs driven as a user would: a thread timer
// fires inside each dialog's modal loop and works its controls step by step.
#include "CorvaneVersion.h"
#include "library/UnitCommonProcs.h"
#include "platform/MessageBoxes.h"
#include "shell/MainLayout.h"
#include "shell/UnitGeometryRecords.h"
#include "shell/UnitSettings.h"
#include "shell/UnitTipDialog.h"
#include "win32/AboutBox.h"
#include "win32/DisplayDpi.h"
#include "win32/MacroInsertsDialog.h"
#include "win32/OptionsDialog.h"
#include "win32/TipDialog.h"
#include "win32/Win32Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

const char* const kBackupKey = "Software\\CorvaneDialogsTestBackup";

// Steps run one per timer tick while a modal dialog is up; a step that
// returns false is tried again on the next tick.
class Script {
public:
    using Step = std::function<bool()>;
    explicit Script(std::vector<Step> steps) : steps_(std::move(steps))
    {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 30, &Script::Tick);
    }
    ~Script()
    {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Finished() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Script* s = current_;
        if (!s || s->Finished() || s->busy_)
            return;
        s->busy_ = true; // a step may open a nested modal loop
        if (s->steps_[s->next_]())
            ++s->next_;
        s->busy_ = false;
    }

    static inline Script* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
};

HWND FindDialog(const char* caption) { return ::FindWindowA("#32770", caption); }

bool Checked(HWND dialog, const char* text)
{
    HWND box = ::FindWindowExA(dialog, nullptr, "Button", text);
    return box && ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, const char* text)
{
    HWND button = ::FindWindowExA(dialog, nullptr, "Button", text);
    ASSERT_TRUE(button) << text;
    ::SendMessageA(button, BM_CLICK, 0, 0);
}

class RecordingBoxes final : public IMessageBoxes {
public:
    std::vector<std::string> warnings;
    void Info(const std::string&) override { }
    void Warning(const std::string& text) override { warnings.push_back(text); }
    void Error(const std::string&) override { }
    bool AskYesNo(const std::string&) override { return false; }
};

// Keeps the program key and the autorun value as they were before the test.
class ShellDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
        hadProgramKey_ = reg_.KeyExists(RegRoot::CurrentUser, kProgramKey);
        if (hadProgramKey_)
            CopyTree(kProgramKey, kBackupKey);
        runValue_ = ReadRunValue();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        EXPECT_TRUE(EnsureDefaultSettings(reg_));
        EXPECT_TRUE(SettingsCreateKey(reg_, RegRoot::CurrentUser, kRunKey));
        EXPECT_TRUE(SettingsDeleteValue(reg_, RegRoot::CurrentUser, kRunKey, kAutorunValue));
        SetMessageBoxes(&boxes_);
        owner_ = ::CreateWindowExA(
            0, "STATIC", "Corvane", WS_POPUP | WS_VISIBLE, 100, 100, 740, 497, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        ::DestroyWindow(owner_);
        SetMessageBoxes(nullptr);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        if (hadProgramKey_)
            CopyTree(kBackupKey, kProgramKey);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
        EXPECT_TRUE(SettingsDeleteValue(reg_, RegRoot::CurrentUser, kRunKey, kAutorunValue));
        if (runValue_)
            EXPECT_TRUE(SettingsWriteString(reg_, RegRoot::CurrentUser, kRunKey, kAutorunValue, *runValue_));
    }

    static void CopyTree(const char* from, const char* to)
    {
        HKEY source = nullptr;
        HKEY target = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) == ERROR_SUCCESS
            && ::RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr)
                == ERROR_SUCCESS)
            ::RegCopyTreeA(source, nullptr, target);
        if (source)
            ::RegCloseKey(source);
        if (target)
            ::RegCloseKey(target);
    }

    std::optional<std::string> ReadRunValue()
    {
        const auto key = reg_.Open(RegRoot::CurrentUser, kRunKey, RegAccess::Read);
        const auto value = key ? key->Read(kAutorunValue) : std::nullopt;
        if (!value || value->kind != RegKind::String)
            return std::nullopt;
        return std::string(value->data.begin(), value->data.end()).c_str();
    }

    int Setting(const char* name) { return SettingsReadInt(reg_, RegRoot::CurrentUser, kProgramKey, name); }

    win32::Win32Registry reg_;
    RecordingBoxes boxes_;
    HWND owner_ = nullptr;
    bool hadProgramKey_ = false;
    std::optional<std::string> runValue_;
};

const char* const kTipBox = "Show Tip of The Day on program startup";
const char* const kAutoRunBox = "Autorun Corvane on windows startup";
const char* const kOnTopBox = "Always on Top";
const char* const kMacroInsBox = "Enable the Macro Insertions and Replacements dialog";

TEST_F(ShellDialogs, OptionsOkWritesTheBoxesAndMakesTheMainWindowTopmost)
{
    ASSERT_TRUE(SettingsWriteInt(reg_, RegRoot::CurrentUser, kProgramKey, kShowMacroIns, 0));
    const std::string path = "C:\\Program Files\\Corvane\\Corvane.exe";
    bool sawInitialState = false;
    Script script({[&] {
        HWND d = FindDialog("Corvane - Options");
        if (!d)
            return false;
        sawInitialState
            = Checked(d, kTipBox) && !Checked(d, kAutoRunBox) && !Checked(d, kOnTopBox) && !Checked(d, kMacroInsBox);
        Click(d, kTipBox);
        Click(d, kAutoRunBox);
        Click(d, kOnTopBox);
        Click(d, kMacroInsBox);
        // The team library folder's box is made right after its label.
        HWND label = ::FindWindowExA(d, nullptr, "Static", "Team library folder:");
        ::SetWindowTextA(::GetWindow(label, GW_HWNDNEXT), "\\\\server\\support");
        Click(d, "Ok");
        return true;
    }});
    const win32::OptionsOutcome outcome = win32::ShowOptionsDialog(owner_, reg_, path);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.teamLibraryChanged);
    EXPECT_EQ(SettingsReadString(reg_, RegRoot::CurrentUser, kProgramKey, kSharedLibrary), "\\\\server\\support");
    EXPECT_EQ(SettingsReadString(reg_, RegRoot::CurrentUser, kProgramKey, kSharedLibraryName), "Team");
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(sawInitialState);
    EXPECT_EQ(Setting(kShowTips), 0);
    EXPECT_EQ(Setting(kShowMacroIns), 1);
    EXPECT_EQ(Setting(kAlwaysOnTop), 1);
    EXPECT_EQ(ReadRunValue(), "\"" + path + "\" -hidden");
    EXPECT_TRUE(::GetWindowLongPtrA(owner_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(boxes_.warnings.empty());
}

TEST_F(ShellDialogs, OptionsWarnAtTheClickAndCancelWritesNothing)
{
    ASSERT_TRUE(SettingsWriteInt(reg_, RegRoot::CurrentUser, kProgramKey, kAlwaysOnTop, 1));
    ASSERT_TRUE(SettingsWriteString(reg_, RegRoot::CurrentUser, kRunKey, kAutorunValue, "anything"));
    bool sawOn = false;
    std::size_t warningsAtClick = 0;
    Script script({[&] {
        HWND d = FindDialog("Corvane - Options");
        if (!d)
            return false;
        sawOn = Checked(d, kOnTopBox) && Checked(d, kAutoRunBox);
        Click(d, kOnTopBox);
        warningsAtClick = boxes_.warnings.size();
        Click(d, kAutoRunBox);
        Click(d, "Cancel");
        return true;
    }});
    EXPECT_FALSE(win32::ShowOptionsDialog(owner_, reg_, "C:\\Corvane.exe").ok);
    EXPECT_TRUE(sawOn);
    EXPECT_EQ(warningsAtClick, 1u);
    ASSERT_EQ(boxes_.warnings.size(), 1u);
    EXPECT_EQ(boxes_.warnings[0], "You will need to restart the program for the change to take effect.");
    EXPECT_EQ(Setting(kAlwaysOnTop), 1);
    EXPECT_EQ(ReadRunValue(), "anything");
}

TEST_F(ShellDialogs, TipDialogFromTheMenuWritesShowTipsWhenClosedWithAltF4)
{
    ASSERT_TRUE(SettingsWriteInt(reg_, RegRoot::CurrentUser, kProgramKey, kShowTips, 0));
    bool boxWasClear = false;
    std::string tip;
    bool hasSysMenu = true;
    Script script({[&] {
        HWND d = FindDialog("Tip of the Day");
        if (!d)
            return false;
        boxWasClear = !Checked(d, "&Show tips at startup");
        hasSysMenu = (::GetWindowLongPtrA(d, GWL_STYLE) & WS_SYSMENU) != 0;
        Click(d, "&Next");
        char text[512] = {};
        ::GetDlgItemTextA(d, 103, text, sizeof text);
        tip = text;
        Click(d, "&Show tips at startup");
        ::SendMessageA(d, WM_CLOSE, 0, 0);
        return true;
    }});
    win32::ShowTipOfTheDay(owner_, reg_);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(boxWasClear);
    EXPECT_FALSE(hasSysMenu);
    const auto& tips = TipsOfTheDay();
    EXPECT_NE(std::find(tips.begin(), tips.end(), tip), tips.end()) << tip;
    EXPECT_EQ(Setting(kShowTips), 1);
}

TEST_F(ShellDialogs, StartupTipOnlyWhenShowTipsIsOne)
{
    ASSERT_TRUE(SettingsWriteInt(reg_, RegRoot::CurrentUser, kProgramKey, kShowTips, 0));
    win32::ShowStartupTip(owner_, reg_); // returns at once: nothing to close it
    EXPECT_EQ(Setting(kShowTips), 0);

    ASSERT_TRUE(SettingsWriteInt(reg_, RegRoot::CurrentUser, kProgramKey, kShowTips, 1));
    bool boxChecked = false;
    Script script({[&] {
        HWND d = FindDialog("Tip of the Day");
        if (!d)
            return false;
        boxChecked = Checked(d, "&Show tips at startup");
        Click(d, "&Show tips at startup");
        Click(d, "&Close");
        return true;
    }});
    win32::ShowStartupTip(owner_, reg_);
    EXPECT_TRUE(boxChecked);
    EXPECT_EQ(Setting(kShowTips), 0);
}

TEST_F(ShellDialogs, AboutBoxShowsTheTitleAndClosesWithOk)
{
    std::string title;
    Script script({[&] {
        HWND d = FindDialog("Corvane - About");
        if (!d)
            return false;
        char text[128] = {};
        ::GetDlgItemTextA(d, 102, text, sizeof text);
        title = text;
        Click(d, "Ok");
        return true;
    }});
    win32::ShowAboutBox(owner_, ::LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(title, "Corvane v" CORVANE_VERSION_MAJOR_MINOR);
}

// Eighty parameters: the dialog stays on the screen and its scroll box brings
// the row that takes the focus into view; a long value comes back whole.
TEST_F(ShellDialogs, ParametersDialogScrollsManyRowsAndKeepsLongValuesWhole)
{
    std::string parameters;
    for (int i = 0; i < 80; ++i)
        parameters += (i ? ",P" : "P") + std::to_string(i);
    const std::string longValue(3000, 'v');
    int height = 0;
    bool lastRowShown = false, lastRowShownAtFirst = true;
    Script script({[&] {
        HWND d = FindDialog(MacroInsCaption);
        if (!d)
            return false;
        RECT r{};
        ::GetWindowRect(d, &r);
        height = r.bottom - r.top;
        HWND box = ::FindWindowExA(d, nullptr, "Static", nullptr);
        // The rows in their order (an edit box's text is not its window title).
        HWND first = box ? ::GetWindow(box, GW_CHILD) : nullptr;
        HWND last = first ? ::GetWindow(first, GW_HWNDLAST) : nullptr;
        if (!first || !last) {
            ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
            return true;
        }
        auto shown = [&] {
            RECT view{}, row{};
            ::GetClientRect(box, &view);
            ::GetWindowRect(last, &row);
            ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&row), 2);
            return row.top >= 0 && row.bottom <= view.bottom;
        };
        lastRowShownAtFirst = shown();
        ::SetWindowTextA(first, longValue.c_str());
        ::SetFocus(last);
        lastRowShown = shown();
        Click(d, "Accept");
        return true;
    }});
    win32::TFormMacroInserts dialog(reg_);
    EXPECT_TRUE(dialog.Ask(owner_, parameters, {TDialogPlace::ScreenCentre}));
    EXPECT_TRUE(script.Finished());
    EXPECT_GT(height, 0);
    EXPECT_LE(height, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(lastRowShownAtFirst);
    EXPECT_TRUE(lastRowShown);
    const std::string& values = dialog.Values();
    EXPECT_EQ(values.substr(0, values.find('\x01')), longValue);
    EXPECT_EQ(values.substr(values.rfind('\x01') + 1), "P79");
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

// An owner in the bottom-right corner of its monitor, half off it: the about
// box is kept inside that monitor's work area at the monitor's scale.
TEST_F(ShellDialogs, AboutBoxOfAnOwnerHalfOffTheMonitorStaysInsideItsWorkArea)
{
    const RECT work = WorkAreaOf(owner_);
    ::SetWindowPos(owner_, nullptr, work.right - 370, work.bottom - 250, 740, 497, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect{}, client{};
    int dpi = 0;
    Script script({[&] {
        HWND d = FindDialog("Corvane - About");
        if (!d)
            return false;
        ::GetWindowRect(d, &rect);
        ::GetClientRect(d, &client);
        dpi = win32::WindowDpi(d);
        Click(d, "Ok");
        return true;
    }});
    win32::ShowAboutBox(owner_, ::LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(Inside(rect, work)) << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    EXPECT_EQ(rect.right, work.right) << "pushed back against the monitor's edge";
    EXPECT_EQ(client.right, ScaleToDpi(380, dpi));
    EXPECT_EQ(client.bottom, ScaleToDpi(200, dpi));
}

// A size stored at 150 % opens two thirds as large at 100 %; a resize stores
// the new size with the DPI it was taken at; the minimum is scaled and the
// maximum is the monitor's work area.
TEST_F(ShellDialogs, ParametersDialogSizeIsStoredWithItsDpiAndRestoredAtTheMonitorsScale)
{
    const auto stored = EncodeDialogSize({300, 600});
    ASSERT_TRUE(WriteGeometryValue(reg_, kMacroInsFormSettings, stored.data(), stored.size()));
    ASSERT_TRUE(SettingsWriteInt(reg_, RegRoot::CurrentUser, kProgramKey, kMacroInsFormDpi, 144));
    RECT opened{}, work{};
    MINMAXINFO limits{};
    int dpi = 0;
    Script script({[&] {
        HWND d = FindDialog(MacroInsCaption);
        if (!d)
            return false;
        ::GetWindowRect(d, &opened);
        work = WorkAreaOf(d);
        dpi = win32::WindowDpi(d);
        ::SendMessageA(d, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        ::SetWindowPos(d, nullptr, 0, 0, 500, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Click(d, "Accept");
        return true;
    }});
    win32::TFormMacroInserts dialog(reg_);
    const RECT screen = WorkAreaOf(owner_);
    EXPECT_TRUE(dialog.Ask(owner_, "A,B", {TDialogPlace::AroundPoint, screen.right - 5, screen.bottom - 5}));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(opened.right - opened.left, ConvertDpi(600, 144, dpi));
    EXPECT_EQ(opened.bottom - opened.top, ConvertDpi(300, 144, dpi));
    EXPECT_TRUE(Inside(opened, work)) << "around a point in the corner, kept inside the work area";
    EXPECT_EQ(limits.ptMinTrackSize.x, ScaleToDpi(200, dpi));
    EXPECT_EQ(limits.ptMinTrackSize.y, ScaleToDpi(120, dpi));
    EXPECT_EQ(limits.ptMaxTrackSize.x, work.right - work.left);
    EXPECT_EQ(limits.ptMaxTrackSize.y, work.bottom - work.top);
    const auto value = ReadGeometryValue(reg_, kMacroInsFormSettings);
    ASSERT_TRUE(value);
    EXPECT_EQ(DecodeDialogSize(value->data), (TDialogSize{260, 500}));
    EXPECT_EQ(Setting(kMacroInsFormDpi), dpi);
}

} // namespace
} // namespace corvane
