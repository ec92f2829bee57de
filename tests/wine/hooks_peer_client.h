#pragma once
// The hook tests' second process (tools/hooks_peer.cpp), driven through its
// stdin and stdout, and the small helpers the tests share.
#include <windows.h>

#include <cstring>
#include <string>

#include "hooks/tolvar/HtReceiverTable.h"

namespace corvane {

// A copy of a hook library's shared block, read from outside by its object
// name; `fill` in every byte when there is none.
inline tolvar::THtSharedHookBlock ReadSharedHookBlock(const std::string& name, unsigned char fill)
{
    tolvar::THtSharedHookBlock copy;
    std::memset(&copy, fill, sizeof copy);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (!mapping)
        return copy;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof copy)) {
        std::memcpy(&copy, view, sizeof copy);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return copy;
}

inline std::string ExeDir()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n);
    return p.substr(0, p.find_last_of('\\') + 1);
}

// Dispatches this thread's messages for `ms` milliseconds.
inline void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

class Peer {
public:
    Peer()
    {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE childIn = nullptr, childOut = nullptr;
        CreatePipe(&childIn, &toChild_, &sa, 0);
        CreatePipe(&fromChild_, &childOut, &sa, 0);
        SetHandleInformation(toChild_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(fromChild_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = childIn;
        si.hStdOutput = childOut;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::string cmd = "\"" + ExeDir() + "hooks_peer.exe\"";
        started_ = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi_) != 0;
        CloseHandle(childIn);
        CloseHandle(childOut);
    }
    ~Peer()
    {
        if (started_ && !killed_) {
            Ask("exit");
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        if (started_) {
            CloseHandle(pi_.hProcess);
            CloseHandle(pi_.hThread);
        }
        CloseHandle(toChild_);
        CloseHandle(fromChild_);
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    bool Started() const { return started_; }

    // Sends one command and waits for its answer, dispatching this thread's
    // messages meanwhile: a hook set here may be called from the peer's events.
    std::string Ask(const std::string& command)
    {
        const std::string line = command + "\n";
        DWORD written = 0;
        WriteFile(toChild_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        std::string answer;
        const DWORD deadline = GetTickCount() + 20000;
        for (;;) {
            DWORD avail = 0;
            if (!PeekNamedPipe(fromChild_, nullptr, 0, nullptr, &avail, nullptr))
                return "<gone>";
            if (avail > 0) {
                char c;
                DWORD got = 0;
                ReadFile(fromChild_, &c, 1, &got, nullptr);
                if (c == '\n')
                    break;
                if (c != '\r')
                    answer += c;
                continue;
            }
            if (static_cast<int>(deadline - GetTickCount()) < 0)
                return "<timeout>";
            Pump(2);
        }
        return answer;
    }

    void Kill()
    {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
        killed_ = true;
    }

private:
    HANDLE toChild_ = nullptr, fromChild_ = nullptr;
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
    bool killed_ = false;
};

} // namespace corvane
