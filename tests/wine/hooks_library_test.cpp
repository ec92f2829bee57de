// The hook library across real processes: this test and a peer process
// (hooks_peer.exe) load the same Tolvar.dll, register windows, and look at the
// shared block of a hook type as a third party would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "hooks/HtSysHookCommon.h"
#include "hooks/tolvar/HtReceiverTable.h"
#include "hooks_peer_client.h"

namespace corvane {
namespace {

using tolvar::THtSharedHookBlock;

std::string LibraryPath()
{
    if (const char* env = std::getenv("TOLVAR_DLL"))
        return env;
    return ExeDir() + "..\\Tolvar.dll";
}

// ---- Windows of this process that count their notifications.
struct Inbox {
    int count = 0;
    UINT firstMessage = 0;
    UINT lastMessage = 0;
    LRESULT reply = 0;
};
std::map<HWND, Inbox> g_inboxes;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_USER) {
        Inbox& in = g_inboxes[hwnd];
        if (in.count++ == 0)
            in.firstMessage = msg;
        in.lastMessage = msg;
        return in.reply;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND NewWindow()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HooksTestWindow";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    HWND w = CreateWindowExA(
        0, "HooksTestWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    g_inboxes[w] = Inbox{};
    return w;
}

std::string Dec(HWND w) { return std::to_string(reinterpret_cast<uintptr_t>(w)); }
HWND FromDec(const std::string& s) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(s))); }
std::uint32_t Low32(HWND w) { return static_cast<std::uint32_t>(reinterpret_cast<uintptr_t>(w)); }

// ---- The library as this process uses it.
class Library {
public:
    Library() : module_(LoadLibraryA(LibraryPath().c_str()))
    {
        if (module_) {
            attach_ = reinterpret_cast<Attach>(GetProcAddress(module_, "AttachReceiver"));
            detach_ = reinterpret_cast<Detach>(GetProcAddress(module_, "DetachReceiver"));
            lastError_ = reinterpret_cast<LastErr>(GetProcAddress(module_, "LastError"));
        }
    }
    ~Library() { Unload(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool Loaded() const { return module_ && attach_ && detach_ && lastError_; }
    int AttachReceiver(THtHookType t, HWND w, bool filter) { return attach_(t, w, filter ? 1 : 0); }
    int DetachReceiver(THtHookType t, HWND w) { return detach_(t, w); }
    int LastError() { return lastError_(); }
    void Unload()
    {
        if (module_)
            FreeLibrary(module_);
        module_ = nullptr;
    }

private:
    using Attach = int(__stdcall*)(unsigned char, HWND, unsigned char);
    using Detach = int(__stdcall*)(unsigned char, HWND);
    using LastErr = int(__stdcall*)();
    HMODULE module_;
    Attach attach_ = nullptr;
    Detach detach_ = nullptr;
    LastErr lastError_ = nullptr;
};

const char* const TypeNames[] = {"SHELL", "KEYBOARD", "MOUSE", "CBT"};

// A copy of the shared block of a hook type, read from outside.
THtSharedHookBlock ReadBlock(THtHookType type)
{
    return ReadSharedHookBlock(std::string("HT_SYS_HOOK_Tolvar_") + TypeNames[type] + "Shared", 0xCC);
}

void WriteBlock(THtHookType type, const THtSharedHookBlock& block)
{
    const std::string name = std::string("HT_SYS_HOOK_Tolvar_") + TypeNames[type] + "Shared";
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    ASSERT_NE(mapping, nullptr);
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof block);
    ASSERT_NE(view, nullptr);
    std::memcpy(view, &block, sizeof block);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

class HookLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.Loaded()) << LibraryPath();
        ASSERT_EQ(lib.LastError(), 0);
        ASSERT_TRUE(peer.Started());
        ASSERT_EQ(peer.Ask("load " + LibraryPath()), "0");
    }

    Library lib;
    Peer peer;
};

TEST_F(HookLibrary, TwoProcessesSeeEachOthersRegistrations)
{
    const HWND theirs = FromDec(peer.Ask("window"));
    const HWND mine = NewWindow();
    EXPECT_EQ(peer.Ask("attach 1 " + Dec(theirs) + " 0"), "0");
    EXPECT_EQ(lib.AttachReceiver(hkKeyboard, theirs, false), htAlreadyRegistered);
    EXPECT_EQ(lib.DetachReceiver(hkKeyboard, mine), htNotRegistered);
    EXPECT_EQ(lib.AttachReceiver(hkKeyboard, mine, true), 0);
    EXPECT_EQ(peer.Ask("attach 1 " + Dec(mine) + " 0"), "-2");
    // The same window may serve another hook type.
    EXPECT_EQ(peer.Ask("attach 2 " + Dec(mine) + " 0"), "0");

    THtSharedHookBlock b = ReadBlock(hkKeyboard);
    EXPECT_NE(b.HookHandle, 0u);
    ASSERT_EQ(b.Receivers.Count, 2);
    EXPECT_EQ(b.Receivers.Items[0].Window, Low32(theirs));
    EXPECT_EQ(b.Receivers.Items[0].Filter, 0);
    EXPECT_EQ(b.Receivers.Items[1].Window, Low32(mine));
    EXPECT_EQ(b.Receivers.Items[1].Filter, 1);

    // Either process may remove a registration made by the other.
    EXPECT_EQ(peer.Ask("detach 1 " + Dec(mine)), "0");
    EXPECT_EQ(lib.DetachReceiver(hkKeyboard, theirs), 0);
    EXPECT_EQ(lib.DetachReceiver(hkMouse, mine), 0);
    b = ReadBlock(hkKeyboard);
    EXPECT_EQ(b.Receivers.Count, 0);
    EXPECT_EQ(b.HookHandle, 0u);
    EXPECT_EQ(peer.Ask("detach 1 " + Dec(theirs)), "-3");
    DestroyWindow(mine);
}

TEST_F(HookLibrary, The128thReceiverIsRefusedAndChangesNothing)
{
    std::vector<HWND> mine;
    std::vector<std::string> theirs;
    for (int i = 0; i < 64; ++i) {
        theirs.push_back(peer.Ask("window"));
        ASSERT_EQ(peer.Ask("attach 0 " + theirs.back() + " 0"), "0");
    }
    for (int i = 0; i < 63; ++i) {
        mine.push_back(NewWindow());
        ASSERT_EQ(lib.AttachReceiver(hkShell, mine.back(), false), 0);
    }
    const THtSharedHookBlock before = ReadBlock(hkShell);
    EXPECT_EQ(before.Receivers.Count, 127);
    const HWND extra = NewWindow();
    EXPECT_EQ(lib.AttachReceiver(hkShell, extra, true), htTooManyReceivers);
    EXPECT_EQ(peer.Ask("attach 0 " + Dec(extra) + " 0"), "-4");
    // The table and the hook stay as they were (the sequence counts every
    // attempt made under the mutex, which only makes a reader copy again).
    const THtSharedHookBlock after = ReadBlock(hkShell);
    EXPECT_EQ(after.HookHandle, before.HookHandle);
    EXPECT_EQ(std::memcmp(&before.Receivers, &after.Receivers, sizeof before.Receivers), 0);

    for (HWND w : mine)
        EXPECT_EQ(lib.DetachReceiver(hkShell, w), 0);
    for (const std::string& w : theirs)
        EXPECT_EQ(peer.Ask("detach 0 " + w), "0");
    EXPECT_EQ(ReadBlock(hkShell).HookHandle, 0u);
    for (HWND w : mine)
        DestroyWindow(w);
    DestroyWindow(extra);
}

TEST_F(HookLibrary, DetachingTheLastReceiverUninstallsAndANewAttachInstallsAgain)
{
    const HWND theirs = FromDec(peer.Ask("window"));
    const HWND mine = NewWindow();
    ASSERT_EQ(peer.Ask("attach 2 " + Dec(theirs) + " 0"), "0");
    EXPECT_NE(ReadBlock(hkMouse).HookHandle, 0u);
    ASSERT_EQ(lib.AttachReceiver(hkMouse, mine, false), 0);
    EXPECT_EQ(lib.DetachReceiver(hkMouse, theirs), 0);
    EXPECT_NE(ReadBlock(hkMouse).HookHandle, 0u);
    EXPECT_EQ(peer.Ask("detach 2 " + Dec(mine)), "0");
    THtSharedHookBlock b = ReadBlock(hkMouse);
    EXPECT_EQ(b.HookHandle, 0u);
    EXPECT_EQ(b.Receivers.Count, 0);

    EXPECT_EQ(lib.AttachReceiver(hkMouse, mine, false), 0);
    b = ReadBlock(hkMouse);
    EXPECT_NE(b.HookHandle, 0u);
    EXPECT_EQ(b.Receivers.Count, 1);
    EXPECT_EQ(lib.DetachReceiver(hkMouse, mine), 0);
    DestroyWindow(mine);
}

// Window creation in this process runs the CBT hook that this process set
// (under Wine a hook runs in the thread that set it); its notifications reach
// the peer's windows as well as ours.
TEST_F(HookLibrary, ADestroyedReceiverIsDroppedAndThoseBehindItAreStillNotified)
{
    const HWND doomed = NewWindow();
    const HWND behind = NewWindow();
    const HWND theirs = FromDec(peer.Ask("window"));
    ASSERT_EQ(lib.AttachReceiver(hkCBT, doomed, false), 0); // sets the hook
    ASSERT_EQ(peer.Ask("attach 3 " + Dec(theirs) + " 0"), "0");
    ASSERT_EQ(lib.AttachReceiver(hkCBT, behind, false), 0);
    THtSharedHookBlock b = ReadBlock(hkCBT);
    ASSERT_EQ(b.Receivers.Count, 3);
    ASSERT_EQ(b.Receivers.Items[0].Window, Low32(doomed));

    DestroyWindow(doomed); // notified while it still exists
    ASSERT_EQ(tolvar::IndexOf(ReadBlock(hkCBT).Receivers, Low32(doomed)), 0);
    Pump(100);
    ASSERT_EQ(tolvar::IndexOf(ReadBlock(hkCBT).Receivers, Low32(doomed)), 0);
    const int theirsBefore = std::stoi(peer.Ask("received " + Dec(theirs)));
    g_inboxes[behind] = Inbox{};

    const HWND trigger = NewWindow(); // HCBT_CREATEWND, code 3
    b = ReadBlock(hkCBT);
    EXPECT_EQ(b.Receivers.Count, 2);
    EXPECT_EQ(tolvar::IndexOf(b.Receivers, Low32(doomed)), -1);
    EXPECT_EQ(b.Receivers.Items[0].Window, Low32(behind)); // moved into the freed slot
    Pump(300);
    EXPECT_GE(g_inboxes[behind].count, 1);
    EXPECT_EQ(g_inboxes[behind].firstMessage, WM_USER + 3u);
    EXPECT_GT(std::stoi(peer.Ask("received " + Dec(theirs))), theirsBefore);

    EXPECT_EQ(peer.Ask("detach 3 " + Dec(theirs)), "0");
    EXPECT_EQ(lib.DetachReceiver(hkCBT, behind), 0);
    EXPECT_EQ(ReadBlock(hkCBT).HookHandle, 0u);
    DestroyWindow(behind);
    DestroyWindow(trigger);
}

// A filtering receiver in the other process that answers 1 to HCBT_CREATEWND
// stops the window from being created; answering 0 lets it through.
TEST_F(HookLibrary, AFilteringReceiversReplyDecidesTheEvent)
{
    const HWND listener = NewWindow();
    const HWND judge = FromDec(peer.Ask("window"));
    ASSERT_EQ(lib.AttachReceiver(hkCBT, listener, true), 0); // sets the hook
    ASSERT_EQ(peer.Ask("attach 3 " + Dec(judge) + " 1"), "0");

    HWND created = NewWindow();
    EXPECT_NE(created, nullptr);
    DestroyWindow(created);

    ASSERT_EQ(peer.Ask("reply " + Dec(judge) + " 1"), "0");
    g_inboxes[listener].count = 0;
    created = NewWindow();
    EXPECT_EQ(created, nullptr);
    EXPECT_GE(g_inboxes[listener].count, 1); // the others still got it

    ASSERT_EQ(peer.Ask("reply " + Dec(judge) + " 0"), "0");
    created = NewWindow();
    EXPECT_NE(created, nullptr);
    DestroyWindow(created);

    EXPECT_EQ(peer.Ask("detach 3 " + Dec(judge)), "0");
    EXPECT_EQ(lib.DetachReceiver(hkCBT, listener), 0);
    DestroyWindow(listener);
}

TEST_F(HookLibrary, UnloadingTheLibraryRemovesThatProcesssReceivers)
{
    const HWND a = FromDec(peer.Ask("window"));
    const HWND b = FromDec(peer.Ask("window"));
    const HWND mine = NewWindow();
    ASSERT_EQ(peer.Ask("attach 2 " + Dec(a) + " 0"), "0");
    ASSERT_EQ(lib.AttachReceiver(hkMouse, mine, false), 0);
    ASSERT_EQ(peer.Ask("attach 2 " + Dec(b) + " 0"), "0");
    ASSERT_EQ(peer.Ask("attach 0 " + Dec(a) + " 0"), "0");
    ASSERT_EQ(peer.Ask("unload"), "0");

    THtSharedHookBlock m = ReadBlock(hkMouse);
    ASSERT_EQ(m.Receivers.Count, 1);
    EXPECT_EQ(m.Receivers.Items[0].Window, Low32(mine));
    EXPECT_NE(m.HookHandle, 0u);
    THtSharedHookBlock s = ReadBlock(hkShell);
    EXPECT_EQ(s.Receivers.Count, 0);
    EXPECT_EQ(s.HookHandle, 0u); // its last receiver left: the hook went with it

    EXPECT_EQ(lib.DetachReceiver(hkMouse, mine), 0);
    DestroyWindow(mine);
}

// A process killed with its receivers registered and its hook set: the next
// registration gets a working hook although the block outlived the process.
TEST_F(HookLibrary, AfterAKilledProcessTheNextAttachGetsAWorkingHook)
{
    const HWND theirs = FromDec(peer.Ask("window"));
    ASSERT_EQ(peer.Ask("attach 3 " + Dec(theirs) + " 0"), "0");
    ASSERT_EQ(peer.Ask("attach 1 " + Dec(theirs) + " 0"), "0");
    ASSERT_NE(ReadBlock(hkCBT).HookHandle, 0u);
    peer.Kill();
    Pump(200);
    THtSharedHookBlock b = ReadBlock(hkCBT);
    ASSERT_EQ(b.Receivers.Count, 1); // the block is left as the process left it
    ASSERT_NE(b.HookHandle, 0u);

    const HWND mine = NewWindow();
    EXPECT_EQ(lib.AttachReceiver(hkCBT, mine, false), 0);
    EXPECT_EQ(lib.AttachReceiver(hkKeyboard, mine, false), 0);
    b = ReadBlock(hkCBT);
    ASSERT_EQ(b.Receivers.Count, 1);
    EXPECT_EQ(b.Receivers.Items[0].Window, Low32(mine));
    EXPECT_NE(b.HookHandle, 0u);

    g_inboxes[mine].count = 0;
    const HWND trigger = NewWindow();
    Pump(200);
    EXPECT_GE(g_inboxes[mine].count, 1);
    EXPECT_EQ(g_inboxes[mine].lastMessage >= WM_USER, true);

    EXPECT_EQ(lib.DetachReceiver(hkCBT, mine), 0);
    EXPECT_EQ(lib.DetachReceiver(hkKeyboard, mine), 0);
    EXPECT_EQ(ReadBlock(hkCBT).HookHandle, 0u);
    DestroyWindow(trigger);
    DestroyWindow(mine);
}

// Whatever another process wrote into a block, the hook procedures and the
// exports keep within the table.
TEST_F(HookLibrary, AGarbledBlockFaultsNobody)
{
    const HWND mine = NewWindow();
    ASSERT_EQ(lib.AttachReceiver(hkCBT, mine, false), 0);
    THtSharedHookBlock garbage = ReadBlock(hkCBT);
    for (int i = 0; i < tolvar::ReceiverSlots; ++i)
        garbage.Receivers.Items[i].Window = 0xDEAD0000u + i;
    garbage.Receivers.Items[5].Window = Low32(mine);
    garbage.Receivers.Count = 0x7FFFFFFF;
    WriteBlock(hkCBT, garbage);

    g_inboxes[mine].count = 0;
    HWND trigger = NewWindow(); // one pass over the garbage
    Pump(200);
    EXPECT_NE(trigger, nullptr);
    EXPECT_GE(g_inboxes[mine].count, 1);
    THtSharedHookBlock b = ReadBlock(hkCBT);
    EXPECT_EQ(b.Receivers.Count, 1);
    EXPECT_EQ(b.Receivers.Items[0].Window, Low32(mine));
    DestroyWindow(trigger);

    b.Receivers.Count = -40;
    WriteBlock(hkCBT, b);
    trigger = NewWindow();
    EXPECT_NE(trigger, nullptr);
    // Count taken as 0: the window is unknown, and the hook serves nobody.
    EXPECT_EQ(lib.DetachReceiver(hkCBT, mine), htNotRegistered);
    EXPECT_EQ(ReadBlock(hkCBT).HookHandle, 0u);
    EXPECT_EQ(lib.AttachReceiver(hkCBT, mine, false), 0);
    EXPECT_NE(ReadBlock(hkCBT).HookHandle, 0u);
    EXPECT_EQ(lib.DetachReceiver(hkCBT, mine), 0);
    EXPECT_EQ(ReadBlock(hkCBT).HookHandle, 0u);
    DestroyWindow(trigger);
    DestroyWindow(mine);
}

// When a hook type's named objects cannot be made, that wrapper is inert: it
// reports the error through LastError and its operations do nothing.
TEST(HookLibraryInert, AWrapperWithoutItsMutexReportsTheErrorAndDoesNothing)
{
    const std::string copy = ExeDir() + "TolvarInert.dll";
    ASSERT_TRUE(CopyFileA(LibraryPath().c_str(), copy.c_str(), FALSE));
    // Another kind of object under the mutex's name makes CreateMutexA fail.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, "HT_SYS_HOOK_TolvarInert_MOUSEMutex");
    ASSERT_NE(squatter, nullptr);
    HMODULE lib = LoadLibraryA(copy.c_str());
    ASSERT_NE(lib, nullptr);
    auto attach
        = reinterpret_cast<int(__stdcall*)(unsigned char, HWND, unsigned char)>(GetProcAddress(lib, "AttachReceiver"));
    auto detach = reinterpret_cast<int(__stdcall*)(unsigned char, HWND)>(GetProcAddress(lib, "DetachReceiver"));
    auto lastError = reinterpret_cast<int(__stdcall*)()>(GetProcAddress(lib, "LastError"));
    EXPECT_EQ(lastError(), ERROR_INVALID_HANDLE);
    const HWND w = NewWindow();
    EXPECT_EQ(attach(hkMouse, w, 0), 0);
    EXPECT_EQ(detach(hkMouse, w), 0); // nothing was registered, and nothing is refused
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, "HT_SYS_HOOK_TolvarInert_MOUSEShared"), nullptr);
    // The other types work.
    EXPECT_EQ(attach(hkKeyboard, w, 0), 0);
    EXPECT_EQ(attach(hkKeyboard, w, 0), htAlreadyRegistered);
    EXPECT_EQ(detach(hkKeyboard, w), 0);
    EXPECT_EQ(attach(9, w, 0), ERROR_INVALID_PARAMETER); // no such hook type
    FreeLibrary(lib);
    CloseHandle(squatter);
    DestroyWindow(w);
    DeleteFileA(copy.c_str());
}

} // namespace
} // namespace corvane
