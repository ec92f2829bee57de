#include "hooks/HtSysHookComp.h"
#include "hooks/HtSysHookStartup.h"
#include "fakes/FakeHookHost.h"
#include "fakes/RecordingMessageBoxes.h"
#include "library/UnitCommonProcs.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <vector>

namespace corvane {
namespace {

using fakes::FakeHost;
using fakes::FakeModuleApi;

TEST(HtSysHookLoader, RetriesWithDllAndCountsReferences)
{
    FakeHost host;
    THtHookLoader& l = host.loader;
    EXPECT_EQ(l.LoadHookDLL("Tolvar"), 0);
    EXPECT_EQ(host.api.loadAttempts, (std::vector<std::string>{"Tolvar", "Tolvar.dll"}));
    EXPECT_EQ(l.LoadHookDLL("Other"), 0); // already loaded: any name counts
    EXPECT_EQ(l.RefCount(), 2);
    EXPECT_EQ(host.api.loadAttempts.size(), 2u);
    l.UnloadHookDLL();
    EXPECT_TRUE(l.Loaded());
    l.UnloadHookDLL();
    EXPECT_FALSE(l.Loaded());
    EXPECT_EQ(host.api.loaded, 0);
    l.UnloadHookDLL(); // not loaded: nothing
    EXPECT_EQ(host.api.loaded, 0);
}

TEST(HtSysHookLoader, ReportsTheLoadErrorAndMissingExports)
{
    FakeHost host;
    EXPECT_EQ(host.loader.LoadHookDLL("Missing.DLL"), 126);
    EXPECT_EQ(host.api.loadAttempts, (std::vector<std::string>{"Missing.DLL"}));
    host.api.files["Half.dll"] = {"AttachReceiver", "LastError"};
    EXPECT_EQ(host.loader.LoadHookDLL("Half.dll"), -1);
    EXPECT_FALSE(host.loader.Loaded());
    EXPECT_EQ(host.api.loaded, 0);
}

TEST(HtSysHookComp, StartRegistersOnceAndStopReleasesTheLibraryWithTheLastComponent)
{
    FakeHost host;
    THtKeyboardHook key(host);
    THtMouseHook mouse(host);
    key.SetHookDLL("Tolvar");
    mouse.SetHookDLL("Tolvar");
    EXPECT_EQ(key.Start(), "");
    EXPECT_EQ(key.Start(), "");
    EXPECT_EQ(mouse.Start(), "");
    EXPECT_TRUE(key.Active());
    ASSERT_EQ(host.api.attached.size(), 2u);
    EXPECT_EQ(host.api.attached[0].first, hkKeyboard);
    EXPECT_EQ(host.api.attached[0].second, key.ListenerWindow());
    EXPECT_EQ(host.api.attached[1].first, hkMouse);
    EXPECT_EQ(host.loader.RefCount(), 2);

    mouse.Stop();
    EXPECT_FALSE(mouse.Active());
    EXPECT_EQ(mouse.ListenerWindow(), 0u);
    EXPECT_TRUE(host.loader.Loaded());
    key.Stop();
    EXPECT_FALSE(host.loader.Loaded());
    EXPECT_TRUE(host.windows.empty());
    key.Stop(); // stopping again does nothing
}

TEST(HtSysHookComp, StartFailuresGiveTheirTextsAndLeaveNothingBehind)
{
    FakeHost host;
    THtShellHook shell(host);
    EXPECT_EQ(shell.Start(), "Cannot activate hook because DLL name is not set.");

    shell.SetHookDLL("Nowhere");
    EXPECT_EQ(shell.Start(), "The specified module could not be found");

    shell.SetHookDLL("Tolvar");
    host.failWindows = true;
    EXPECT_EQ(shell.Start(), "Failed to create listening window.");
    EXPECT_FALSE(host.loader.Loaded());

    host.failWindows = false;
    host.api.attachResult = -4;
    EXPECT_EQ(shell.Start(), "Too many receivers.");
    EXPECT_FALSE(shell.Active());
    EXPECT_EQ(shell.ListenerWindow(), 0u);
    EXPECT_TRUE(host.windows.empty());
    EXPECT_FALSE(host.loader.Loaded());

    host.api.attachResult = 0;
    EXPECT_EQ(shell.Start(), "");
    EXPECT_TRUE(shell.Active());
}

TEST(HtSysHookComp, PropertiesCannotChangeWhileActive)
{
    FakeHost host;
    THtKeyboardHook key(host);
    key.SetHookDLL("Tolvar");
    key.SetAllowFiltering(true);
    ASSERT_EQ(key.Start(), "");
    key.SetHookDLL("Other");
    EXPECT_EQ(key.HookDLL(), "Tolvar");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], "THtKeyboardHook: DLL name cannot be set while hook is active!");
    key.Name = "KeyHook";
    key.SetHookDLL("Other");
    EXPECT_EQ(host.boxes[1], "KeyHook: DLL name cannot be set while hook is active!");
    EXPECT_THROW(key.SetAllowFiltering(false), std::logic_error);
    EXPECT_TRUE(key.AllowFiltering());
    key.Stop();
    key.SetAllowFiltering(false);
    EXPECT_FALSE(key.AllowFiltering());
}

TEST(HtSysHookComp, KeyboardNotificationFiresKeyActionAndRepliesTheFilterFlag)
{
    FakeHost host;
    THtKeyboardHook key(host);
    int calls = 0;
    key.OnKeyAction = [&](THtSysHook& sender, std::int32_t vk, std::uint16_t repeat, std::uint8_t scan, bool ext,
                          bool alt, bool wasDown, bool pressed, bool& filter) {
        ++calls;
        EXPECT_EQ(&sender, &key);
        EXPECT_EQ(vk, 0x51);
        EXPECT_EQ(repeat, 1);
        EXPECT_EQ(scan, 0x10);
        EXPECT_FALSE(ext);
        EXPECT_FALSE(alt);
        filter = pressed && !wasDown;
    };
    EXPECT_EQ(key.HandleMessage(0x400, 0x51, 0x00100001), 1);
    EXPECT_EQ(key.HandleMessage(0x400, 0x51, static_cast<std::int64_t>(0xC0100001u)), 0);
    EXPECT_EQ(key.HandleMessage(0x401, 0x51, 0x00100001), 0); // not a keystroke code
    EXPECT_EQ(key.HandleMessage(0x100, 0x51, 0x00100001), 0); // below WM_USER
    EXPECT_EQ(calls, 2);
}

TEST(HtSysHookComp, KeyFilterIsAnsweredBeforeTheKeyActionRuns)
{
    FakeHost host;
    THtKeyboardHook key(host);
    key.OnKeyFilter = [&](const THtKeyStroke& k) {
        host.events.push_back("filter " + std::to_string(k.VirtualKeyCode));
        return k.VirtualKeyCode == 0x56 && k.controlHeld && k.keyIsBeingPressed;
    };
    key.OnKeyAction
        = [&](THtSysHook&, std::int32_t vk, std::uint16_t, std::uint8_t, bool, bool, bool, bool, bool& filter) {
              host.events.push_back("action " + std::to_string(vk) + (filter ? " taken" : ""));
          };
    EXPECT_EQ(key.HandleMessage(0x400, 0x10056, 0x002F0001), 1); // Ctrl held
    EXPECT_EQ(key.HandleMessage(0x400, 0x51, 0x00100001), 0);
    EXPECT_EQ(host.events,
        (std::vector<std::string>{"filter 86", "reply 1", "action 86 taken", "filter 81", "reply 0", "action 81"}));
}

TEST(HtSysHookComp, UnfilteredHandlerSeesEveryNotificationAndCanSuppressTheTypedEvent)
{
    FakeHost host;
    THtMouseHook mouse(host);
    std::vector<std::int32_t> codes;
    int moves = 0, clicks = 0;
    mouse.OnUnfiltered = [&](THtSysHook&, std::int32_t code, std::int32_t, std::int32_t, bool& handled) {
        codes.push_back(code);
        handled = code == 0x201;
    };
    mouse.OnMouseMove = [&](THtSysHook&, std::uint32_t w, std::int32_t x, std::int32_t y) {
        ++moves;
        EXPECT_EQ(w, 0x99u);
        EXPECT_EQ(x, 65535);
        EXPECT_EQ(y, 5);
    };
    mouse.OnMouseClick
        = [&](THtSysHook&, std::uint32_t, std::int32_t, std::int32_t, TMouseButton b, THtMouseButtonMovement m) {
              ++clicks;
              EXPECT_EQ(b, TMouseButton::mbRight);
              EXPECT_EQ(m, THtMouseButtonMovement::mbmUp);
          };
    mouse.HandleMessage(0x600, 0x0005FFFF, 0x99);
    mouse.HandleMessage(0x601, 0, 0x99);
    mouse.HandleMessage(0x605, 0, 0x99);
    EXPECT_EQ(codes, (std::vector<std::int32_t>{0x200, 0x201, 0x205}));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(HtSysHookComp, ShellActivationOfTheOwnApplicationWindowIsLeftOut)
{
    FakeHost host;
    THtShellHook shell(host);
    shell.ApplicationWindow = 0x55;
    std::vector<std::uint32_t> activated, destroyed;
    shell.OnWindowActivated = [&](THtSysHook&, std::uint32_t w) { activated.push_back(w); };
    shell.OnWindowDestroyed = [&](THtSysHook&, std::uint32_t w) { destroyed.push_back(w); };
    shell.HandleMessage(0x404, 0x55, 0);
    shell.HandleMessage(0x404, 0x66, 0);
    shell.HandleMessage(0x402, 0x77, 0);
    shell.HandleMessage(0x401, 0x77, 0); // created: no handler, nothing happens
    shell.NotifyOwnEvents = true;
    shell.HandleMessage(0x404, 0x55, 0);
    EXPECT_EQ(activated, (std::vector<std::uint32_t>{0x66, 0x55}));
    EXPECT_EQ(destroyed, (std::vector<std::uint32_t>{0x77}));
}

class ProgramHooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageBoxes(&boxes);
        host.api.files = {{site.path, {"AttachReceiver", "DetachReceiver", "LastError"}}};
    }
    void TearDown() override { SetMessageBoxes(nullptr); }
    fakes::RecordingMessageBoxes boxes;
    FakeHost host;
    const THookLibrarySite site = HookLibrarySite("C:\\Program Files\\Corvane\\", {}, {}, {});
};

TEST_F(ProgramHooks, AMissingLibraryIsTriedThreePassesByItsFullPathAndReportedOnce)
{
    host.api.files.clear();
    THtProgramHooks hooks(host);
    EXPECT_FALSE(hooks.Start(0x42, site));
    // Never by bare name, which the system would look for elsewhere too.
    EXPECT_EQ(host.api.loadAttempts, std::vector<std::string>(3u * 3u, "C:\\Program Files\\Corvane\\Tolvar.dll"));
    EXPECT_EQ(boxes.ErrorTexts(), (std::vector<std::string>{"Library was not loaded. Please restart Corvane."}));
    EXPECT_FALSE(hooks.ShellHook.Active());
    EXPECT_FALSE(hooks.KeyHook.Active());
    EXPECT_FALSE(hooks.MouseHook.Active());
}

TEST_F(ProgramHooks, AFailureWithoutSystemTextIsStillReportedAsNotLoaded)
{
    host.api.attachResult = 77; // a code the system has no text for
    THtProgramHooks hooks(host);
    EXPECT_FALSE(hooks.Start(0x42, site));
    EXPECT_EQ(boxes.ErrorTexts(), (std::vector<std::string>{"Library was not loaded. Please restart Corvane."}));
    EXPECT_FALSE(hooks.KeyHook.Active());
}

TEST_F(ProgramHooks, AFailureInOnePassIsMadeGoodByTheNext)
{
    host.api.failingAttaches = 1; // the shell receiver, first pass
    THtProgramHooks hooks(host);
    EXPECT_TRUE(hooks.Start(0x42, site));
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(host.api.attached.size(), 3u);
    EXPECT_EQ(host.api.attached[0].first, hkKeyboard);
    EXPECT_EQ(host.api.attached[1].first, hkMouse);
    EXPECT_EQ(host.api.attached[2].first, hkShell);
    EXPECT_EQ(hooks.ShellHook.ApplicationWindow, 0x42u);
    EXPECT_TRUE(hooks.KeyHook.AllowFiltering());
    EXPECT_EQ(host.loader.RefCount(), 3);
}

TEST_F(ProgramHooks, StopTakesMouseKeyboardShellAndReleasesTheLibrary)
{
    THtProgramHooks hooks(host);
    ASSERT_TRUE(hooks.Start(0, site));
    const std::vector<std::uintptr_t> expected
        = {hooks.MouseHook.ListenerWindow(), hooks.KeyHook.ListenerWindow(), hooks.ShellHook.ListenerWindow()};
    hooks.Stop();
    EXPECT_EQ(host.destroyed, expected);
    EXPECT_FALSE(host.loader.Loaded());
    EXPECT_EQ(host.api.loaded, 0);
}

TEST_F(ProgramHooks, ARefusedSiteStartsNoHookAndSaysWhyOnce)
{
    THookLibrarySite refused = site;
    refused.refusal = "why";
    THtProgramHooks hooks(host);
    EXPECT_FALSE(hooks.Start(0x42, refused));
    EXPECT_TRUE(host.api.loadAttempts.empty());
    EXPECT_EQ(boxes.ErrorTexts(), (std::vector<std::string>{"why"}));
    EXPECT_FALSE(hooks.KeyHook.Active());
}

} // namespace
} // namespace corvane
