// The receiver side on the real system: the loader, a component's start and
// stop against the real library, the error texts and the window and
// keystroke utilities.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "hooks/HtSysHookComp.h"
#include "hooks/tolvar/HtReceiverTable.h"
#include "win32/HookLibraryTrust.h"
#include "win32/HtSysHookHost.h"
#include "win32/HtSysHookUtils.h"
#include "hooks_peer_client.h"

namespace corvane {
namespace {

std::string BinDir()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n);
    p.erase(p.find_last_of('\\'));
    return p.substr(0, p.find_last_of('\\') + 1); // the folder that holds tests
}

void PumpTyped(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

TEST(HookLoader, FindsTheLibraryUnderADllNameAndCountsReferences)
{
    THtHookLoader& loader = win32::HookHost().Loader();
    ASSERT_FALSE(loader.Loaded());
    EXPECT_EQ(loader.LoadHookDLL(BinDir() + "Tolvar.bin"), 0); // retried as Tolvar.dll
    EXPECT_EQ(loader.LoadHookDLL("anything"), 0);
    EXPECT_EQ(loader.RefCount(), 2);
    EXPECT_NE(GetModuleHandleA((BinDir() + "Tolvar.dll").c_str()), nullptr);
    loader.UnloadHookDLL();
    loader.UnloadHookDLL();
    EXPECT_FALSE(loader.Loaded());
    EXPECT_EQ(GetModuleHandleA((BinDir() + "Tolvar.dll").c_str()), nullptr);
}

TEST(HookLoader, ReportsAMissingLibraryAndOneWithoutTheExports)
{
    THtHookLoader& loader = win32::HookHost().Loader();
    EXPECT_EQ(loader.LoadHookDLL(BinDir() + "NoSuchLibrary"), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(loader.LoadHookDLL("comctl32.dll"), htMissingExports);
    EXPECT_FALSE(loader.Loaded());
}

TEST(HookErrorTexts, WindowsCodesGetTheSystemsTextWithoutTheFullStop)
{
    const std::string text = win32::HookErrorTextOf(ERROR_MOD_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(win32::HookErrorTextOf(-4), "Too many receivers.");
}

// Another process keeps the shared block alive and reads it.
TEST(HookComponent, StartRegistersAListenerWindowAndReleasingTheLibraryRemovesIt)
{
    Peer peer;
    ASSERT_EQ(peer.Ask("load " + BinDir() + "Tolvar.dll"), "0");
    THtKeyboardHook key(win32::HookHost());
    key.SetHookDLL(BinDir() + "Tolvar");
    EXPECT_EQ(key.Start(), "");
    EXPECT_EQ(key.Start(), "");
    const HWND listener = reinterpret_cast<HWND>(key.ListenerWindow());
    EXPECT_TRUE(IsWindow(listener));
    EXPECT_FALSE(IsWindowVisible(listener));
    const std::string registered = peer.Ask("block 1");
    EXPECT_NE(registered.find("count=1 alive=1"), std::string::npos) << registered;

    // A notification sent as the library sends it arrives decoded.
    int seen = 0;
    key.OnKeyAction
        = [&](THtSysHook&, std::int32_t vk, std::uint16_t, std::uint8_t, bool, bool, bool, bool pressed, bool& filter) {
              ++seen;
              EXPECT_EQ(vk, 'Q');
              EXPECT_TRUE(pressed);
              filter = true;
          };
    EXPECT_EQ(SendMessageA(listener, WM_USER, 'Q', 0x00100001), 1);
    EXPECT_EQ(seen, 1);

    key.Stop();
    EXPECT_FALSE(IsWindow(listener));
    EXPECT_EQ(GetModuleHandleA((BinDir() + "Tolvar.dll").c_str()), nullptr);
    EXPECT_EQ(peer.Ask("block 1"), "hook=0 count=0 alive=0");
}

// What the system tells of this program and its folder. Wine reports every
// program as elevated and the folder as its user's, yet has no second,
// limited set of rights: the refusal itself is proven natively only.
TEST(HookLibraryTrust, TheLibraryIsTheOneBesideTheProgramByItsFullPath)
{
    const std::string folder = win32::ProgramFolder();
    EXPECT_EQ(folder + "\\", ExeDir());
    const THookLibrarySite site = win32::HookLibrarySiteOfThisProgram();
    EXPECT_EQ(site.path, ExeDir() + "Tolvar.dll");
    const TElevation elevation = win32::ElevationOfThisProcess();
    const TPathSecurity security = win32::ReadPathSecurity(folder);
    std::printf("figure trust: elevated=%d wine=%d folder_read=%d owner=%d entries=%zu writable=%d refusal=%d\n",
        elevation.elevated ? 1 : 0, elevation.onWine ? 1 : 0, security.read ? 1 : 0, static_cast<int>(security.owner),
        security.entries.size(), WritableByNonAdministrators(security) ? 1 : 0, site.refusal.empty() ? 0 : 1);
    EXPECT_TRUE(security.read);
    EXPECT_EQ(site.refusal, "");
}

TEST(HookUtilities, TopLevelWindowFollowsTheParents)
{
    HWND top
        = CreateWindowExA(0, "STATIC", "top", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND mid = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 50, 50, top, nullptr, nullptr, nullptr);
    HWND leaf = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, mid, nullptr, nullptr, nullptr);
    EXPECT_EQ(win32::TopLevelWindow(leaf), top);
    EXPECT_EQ(win32::TopLevelWindow(top), top);
    DestroyWindow(top);
}

TEST(HookUtilities, ActivateAndPasteTypesTheClipboardIntoTheWindow)
{
    HWND frame = CreateWindowExA(0, "STATIC", "paste target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 100,
        nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(
        0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 200, 24, frame, nullptr, nullptr, nullptr);
    const char text[] = "pasted text";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    std::memcpy(GlobalLock(mem), text, sizeof text);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();

    win32::ForceForeground(frame, frame);
    PumpTyped(200);
    EXPECT_EQ(GetForegroundWindow(), frame);
    SetFocus(edit);
    win32::ActivateAndPaste(frame);
    PumpTyped(500);
    char got[64] = {};
    GetWindowTextA(edit, got, sizeof got);
    EXPECT_STREQ(got, text);
    DestroyWindow(frame);
}

} // namespace
} // namespace corvane
