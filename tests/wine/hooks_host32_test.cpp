// The host of the hook library for 32-bit programs, run as Corvane runs it:
// this process plays Corvane (Tolvar.dll loaded, receivers attached) and
// starts the host with its own process id. Wine here runs no 32-bit program,
// so the host and the library it loads are their 64-bit builds of the same
// sources (tests/twin), with the 32-bit library's tables: what is shown is
// the host's own behaviour, following the receivers and ending with Corvane.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "hooks/HookHost32.h"
#include "hooks/tolvar/HtReceiverTable.h"
#include "hooks_peer_client.h"

namespace corvane {
namespace {

using tolvar::THtSharedHookBlock;

using AttachProc = std::int32_t(__stdcall*)(std::uint8_t, HWND, std::uint8_t);
using DetachProc = std::int32_t(__stdcall*)(std::uint8_t, HWND);

// One hook type's table of the 32-bit library, as the host left it.
THtSharedHookBlock ReadTable32(THtHookType type)
{
    return ReadSharedHookBlock(std::string("HT_SYS_HOOK_Tolvar_") + tolvar::HookPartNames[type] + "32Shared", 0);
}

std::uint32_t Low32(HWND w) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w)); }

// The filter setting of `window` in the table, or -1 when it is not there.
int FilterIn(const THtSharedHookBlock& block, HWND window)
{
    const std::int32_t i = tolvar::IndexOf(block.Receivers, Low32(window));
    return i < 0 ? -1 : block.Receivers.Items[i].Filter;
}

bool WaitFor(const std::function<bool()>& done, DWORD limitMs)
{
    for (DWORD waited = 0; waited < limitMs; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

struct Process {
    PROCESS_INFORMATION info{};
    bool started = false;
    explicit Process(std::string commandLine, const std::string& program = {})
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started = CreateProcessA(program.empty() ? nullptr : program.c_str(), commandLine.data(), nullptr, nullptr,
                      FALSE, 0, nullptr, nullptr, &startup, &info)
            != FALSE;
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process()
    {
        if (!started)
            return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info.hProcess, 9);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    // The exit code, or STILL_ACTIVE when it did not end within the limit.
    DWORD WaitExit(DWORD limitMs) const
    {
        WaitForSingleObject(info.hProcess, limitMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

std::string HostPath() { return ExeDir() + "twin\\" + HookHost32FileName; }

class HookHost32Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_ = LoadLibraryA((ExeDir() + "..\\Tolvar.dll").c_str());
        ASSERT_NE(library_, nullptr);
        attach_ = reinterpret_cast<AttachProc>(reinterpret_cast<void*>(GetProcAddress(library_, "AttachReceiver")));
        detach_ = reinterpret_cast<DetachProc>(reinterpret_cast<void*>(GetProcAddress(library_, "DetachReceiver")));
        ASSERT_TRUE(attach_ && detach_);
        keys_ = CreateWindowExA(0, "STATIC", "keys", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        clicks_ = CreateWindowExA(0, "STATIC", "clicks", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(keys_ && clicks_);
    }
    void TearDown() override
    {
        if (detach_) {
            detach_(hkKeyboard, keys_);
            detach_(hkMouse, clicks_);
        }
        DestroyWindow(keys_);
        DestroyWindow(clicks_);
        if (library_)
            FreeLibrary(library_);
    }

    HMODULE library_ = nullptr;
    AttachProc attach_ = nullptr;
    DetachProc detach_ = nullptr;
    HWND keys_ = nullptr;
    HWND clicks_ = nullptr;
};

TEST_F(HookHost32Test, TheHostFollowsCorvanesReceiversAndEndsWhenAsked)
{
    ASSERT_EQ(attach_(hkKeyboard, keys_, 1), 0);
    ASSERT_EQ(attach_(hkMouse, clicks_, 0), 0);
    Process host(HookHost32CommandLine(HostPath(), GetCurrentProcessId()), HostPath());
    ASSERT_TRUE(host.started);

    // The same windows, with the same filter setting, and hooks set for them.
    ASSERT_TRUE(WaitFor(
        [&] {
            const THtSharedHookBlock keys = ReadTable32(hkKeyboard);
            const THtSharedHookBlock mouse = ReadTable32(hkMouse);
            return FilterIn(keys, keys_) == 1 && keys.HookHandle != 0 && FilterIn(mouse, clicks_) == 0
                && mouse.HookHandle != 0;
        },
        5000))
        << "keyboard filter " << FilterIn(ReadTable32(hkKeyboard), keys_) << ", mouse filter "
        << FilterIn(ReadTable32(hkMouse), clicks_);
    EXPECT_EQ(ReadTable32(hkKeyboard).Receivers.Count, 1);

    // Corvane lets go of its keyboard receiver: so does the host, hook and all.
    ASSERT_EQ(detach_(hkKeyboard, keys_), 0);
    EXPECT_TRUE(WaitFor(
        [&] {
            const THtSharedHookBlock keys = ReadTable32(hkKeyboard);
            return keys.Receivers.Count == 0 && keys.HookHandle == 0;
        },
        3000));
    EXPECT_EQ(FilterIn(ReadTable32(hkMouse), clicks_), 0);

    // Asked to end (as Corvane does when it stops its hooks), it ends at
    // once and leaves no receiver behind.
    PostThreadMessageA(host.info.dwThreadId, WM_QUIT, 0, 0);
    EXPECT_EQ(host.WaitExit(HookHost32EndWaitMs), 0u);
    EXPECT_EQ(ReadTable32(hkMouse).Receivers.Count, 0);
    EXPECT_EQ(ReadTable32(hkMouse).HookHandle, 0u);
}

TEST_F(HookHost32Test, TheHostEndsWithTheProcessItServes)
{
    // The process it serves is a program that closes itself after 2 s, as
    // a Corvane that is killed ends without a word to the host.
    Process owner("\"" + ExeDir() + "hooks_target.exe\" Owner 100 2");
    ASSERT_TRUE(owner.started);
    ASSERT_EQ(attach_(hkMouse, clicks_, 0), 0);
    Process host(HookHost32CommandLine(HostPath(), owner.info.dwProcessId), HostPath());
    ASSERT_TRUE(host.started);
    ASSERT_TRUE(WaitFor([&] { return FilterIn(ReadTable32(hkMouse), clicks_) == 0; }, 5000));
    EXPECT_EQ(host.WaitExit(500), static_cast<DWORD>(STILL_ACTIVE)); // not before its owner
    ASSERT_NE(owner.WaitExit(10000), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(host.WaitExit(3000), 0u);
}

TEST_F(HookHost32Test, AHostStartedWithoutAnOwnerItCanOpenEndsAtOnce)
{
    Process noOwner("\"" + HostPath() + "\"", HostPath());
    ASSERT_TRUE(noOwner.started);
    EXPECT_EQ(noOwner.WaitExit(3000), 2u);
    Process goneOwner(HookHost32CommandLine(HostPath(), 0xFFFFFFF0u), HostPath());
    ASSERT_TRUE(goneOwner.started);
    EXPECT_EQ(goneOwner.WaitExit(3000), 3u);
}

} // namespace
} // namespace corvane
