// The host of the hook library for 32-bit programs (see hooks/HookHost32.h).
// It has no window: it loads Tolvar32.dll beside itself, attaches to it the
// receivers Corvane has attached to Tolvar.dll (so the 32-bit hooks feed the
// same receiver windows), keeps them alike, and pumps messages, because
// Windows calls its hooks on this thread for the 64-bit programs (where the
// library lets them pass). It ends when Corvane ends or asks it to.
#include <windows.h>

#include <cstdint>

#include "hooks/HookHost32.h"
#include "hooks/tolvar/HtReceiverTable.h"

namespace {

using namespace corvane;
using namespace corvane::tolvar;

using AttachReceiverProc = std::int32_t(__stdcall*)(std::uint8_t, HWND, std::uint8_t);
using DetachReceiverProc = std::int32_t(__stdcall*)(std::uint8_t, HWND);

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : handle_(h) { }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

class Library {
public:
    explicit Library(const std::string& path) : module_(LoadLibraryA(path.c_str())) { }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library()
    {
        if (module_)
            FreeLibrary(module_);
    }
    FARPROC Export(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

private:
    HMODULE module_;
};

HWND ToWindow(std::uint32_t w) { return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(w))); }

// One hook type: the 64-bit library's table of it, read under its mutex, and
// the receivers this host attached to the 32-bit library.
class MirroredType {
public:
    MirroredType(std::uint8_t type, const THookObjectName& prefix) : type_(type), prefix_(prefix)
    {
        mirrored_.Count = 0;
    }
    MirroredType(const MirroredType&) = delete;
    MirroredType& operator=(const MirroredType&) = delete;
    ~MirroredType() { Close(); }

    void Follow(AttachReceiverProc attach, DetachReceiverProc detach)
    {
        THtReceiverList wanted;
        wanted.Count = 0;
        if (!ReadTwinTable(wanted))
            return; // Corvane's table cannot be read now: keep what there is
        MirrorReceivers(
            wanted, mirrored_,
            [&](std::uint32_t window, bool filter) { return attach(type_, ToWindow(window), filter ? 1 : 0); },
            [&](std::uint32_t window) { return detach(type_, ToWindow(window)); });
    }

    void DetachAll(DetachReceiverProc detach)
    {
        for (std::int32_t i = ValidCount(mirrored_) - 1; i >= 0; --i)
            detach(type_, ToWindow(mirrored_.Items[i].Window));
        mirrored_.Count = 0;
    }

private:
    // The table does not exist before Corvane's first attach: opened late.
    bool Open()
    {
        if (view_)
            return true;
        THookObjectName mutexName = prefix_;
        THookObjectName sharedName = prefix_;
        if (!AppendToName(mutexName, HookPartNames[type_]) || !AppendToName(mutexName, "Mutex")
            || !AppendToName(sharedName, HookPartNames[type_]) || !AppendToName(sharedName, "Shared"))
            return false;
        mutex_ = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, mutexName.Text);
        mapping_ = OpenFileMappingA(FILE_MAP_READ, FALSE, sharedName.Text);
        if (mapping_)
            view_ = static_cast<const THtSharedHookBlock*>(
                MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(THtSharedHookBlock)));
        if (mutex_ && view_)
            return true;
        Close();
        return false;
    }

    void Close()
    {
        if (view_)
            UnmapViewOfFile(view_);
        if (mapping_)
            CloseHandle(mapping_);
        if (mutex_)
            CloseHandle(mutex_);
        view_ = nullptr;
        mapping_ = mutex_ = nullptr;
    }

    bool ReadTwinTable(THtReceiverList& out)
    {
        if (!Open())
            return false;
        const DWORD wait = WaitForSingleObject(mutex_, 100);
        if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
            return false;
        CopyReceivers(view_->Receivers, out);
        ReleaseMutex(mutex_);
        return true;
    }

    std::uint8_t type_;
    THookObjectName prefix_;
    THtReceiverList mirrored_{};
    HANDLE mutex_ = nullptr;
    HANDLE mapping_ = nullptr;
    const THtSharedHookBlock* view_ = nullptr;
};

std::string ThisProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : FolderOfPath(std::string_view(path, n));
}

// Exit codes tell why a host did not run.
constexpr int ExitBadArguments = 2;
constexpr int ExitNoOwner = 3;
constexpr int ExitNoLibrary = 4;

int RunHost()
{
    const auto owner = OwnerOfHookHost32(GetCommandLineA());
    if (!owner)
        return ExitBadArguments;
    const Handle ownerProcess(OpenProcess(SYNCHRONIZE, FALSE, *owner));
    if (!ownerProcess.get())
        return ExitNoOwner;
    const std::string folder = ThisProgramFolder();
    if (folder.empty())
        return ExitNoLibrary;
    const std::string libraryPath = folder + "\\" + HookLibrary32FileName;
    const Library library(libraryPath);
    const auto attach = reinterpret_cast<AttachReceiverProc>(reinterpret_cast<void*>(library.Export("AttachReceiver")));
    const auto detach = reinterpret_cast<DetachReceiverProc>(reinterpret_cast<void*>(library.Export("DetachReceiver")));
    THookObjectName prefix;
    if (!attach || !detach || !HookObjectPrefix(libraryPath.c_str(), libraryPath.size(), prefix))
        return ExitNoLibrary;

    MirroredType shell(hkShell, prefix), keyboard(hkKeyboard, prefix), mouse(hkMouse, prefix), cbt(hkCBT, prefix);
    MirroredType* types[] = {&shell, &keyboard, &mouse, &cbt};
    bool running = true;
    while (running) {
        for (MirroredType* t : types)
            t->Follow(attach, detach);
        // Messages are pumped as they come: the hooks of the 64-bit programs
        // are called through them, and must not wait.
        const DWORD until = GetTickCount() + HookHost32MirrorMs;
        for (;;) {
            const DWORD now = GetTickCount();
            const DWORD left = static_cast<LONG>(until - now) > 0 ? until - now : 0;
            const HANDLE ownerHandle = ownerProcess.get();
            const DWORD woke = MsgWaitForMultipleObjects(1, &ownerHandle, FALSE, left, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) {
                running = false;
                break;
            }
            if (woke == WAIT_TIMEOUT)
                break;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT)
                    running = false;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (!running)
                break;
        }
    }
    for (MirroredType* t : types)
        t->DetachAll(detach);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        return RunHost();
    } catch (...) {
        return 1;
    }
}
