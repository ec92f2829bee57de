// A second process that uses the hook library: reads one command per line on
// stdin, answers one line on stdout, and keeps its message queue running in
// between (under Wine a global hook is called in the thread that set it).
//   load <path> | unload | window | destroy <h> | attach <type> <h> <filter>
//   detach <type> <h> | reply <h> <value> | received <h> | pump <ms>
//   block <type> (hook handle, count, live receivers)
//   keys <vk> <n> <gap_ms> <timeout_ms> (n key events typed into a window
//   of its own, down and up in turn, gap_ms apart, each awaited up to
//   timeout_ms: how many arrived, the longest and median wait measured here,
//   on the target's clock, and the system ticks the typing began and ended
//   at) | exit
// Windows are named by their handle in decimal. `received` prints the number
// of notifications the window got and the last message, wParam and lParam.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Inbox {
    long count = 0;
    UINT lastMessage = 0;
    WPARAM lastW = 0;
    LPARAM lastL = 0;
    LRESULT reply = 0;
};

std::map<HWND, Inbox> g_inboxes;
HMODULE g_library = nullptr;

using AttachProc = int(__stdcall*)(unsigned char, HWND, unsigned char);
using DetachProc = int(__stdcall*)(unsigned char, HWND);

LRESULT CALLBACK PeerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_USER) {
        Inbox& in = g_inboxes[hwnd];
        ++in.count;
        in.lastMessage = msg;
        in.lastW = wParam;
        in.lastL = lParam;
        return in.reply;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- The typing target: a focused window of this process.
UINT g_targetKey = 0;
volatile LONG g_targetSeen = 0;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == WM_KEYDOWN || msg == WM_KEYUP) && wParam == g_targetKey) {
        ++g_targetSeen;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

double Seconds()
{
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perSecond;
}

void DispatchAll()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

HWND FocusedTarget()
{
    static HWND target = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = TargetProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HooksPeerTarget";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "HooksPeerTarget", "typing target", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }();
    if (GetFocus() != target) {
        SetForegroundWindow(target);
        SetFocus(target);
        const double end = Seconds() + 0.3;
        while (Seconds() < end)
            DispatchAll();
    }
    return target;
}

// Types n events of one key and waits for each; the wait of each is the
// time from sending it until the window had it.
std::string TypeKeys(UINT vk, int n, int gapMs, int timeoutMs)
{
    FocusedTarget();
    g_targetKey = vk;
    std::vector<double> waits;
    int seen = 0;
    const DWORD firstTick = GetTickCount();
    for (int i = 0; i < n; ++i) {
        const LONG before = g_targetSeen;
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = static_cast<WORD>(vk);
        in.ki.dwFlags = i % 2 == 1 ? KEYEVENTF_KEYUP : 0;
        const double sent = Seconds();
        SendInput(1, &in, sizeof in);
        while (g_targetSeen == before && Seconds() - sent < timeoutMs / 1000.0)
            DispatchAll();
        if (g_targetSeen != before) {
            ++seen;
            waits.push_back((Seconds() - sent) * 1000.0);
        }
        const double next = sent + gapMs / 1000.0;
        while (Seconds() < next)
            DispatchAll();
    }
    std::sort(waits.begin(), waits.end());
    char out[160];
    std::snprintf(out, sizeof out, "seen=%d max_ms=%.1f median_ms=%.1f from_tick=%lu to_tick=%lu", seen,
        waits.empty() ? 0.0 : waits.back(), waits.empty() ? 0.0 : waits[waits.size() / 2], firstTick, GetTickCount());
    return out;
}

HWND ParseWindow(std::istream& in)
{
    unsigned long long h = 0;
    in >> h;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(h));
}

std::string Run(const std::string& line, bool& quit)
{
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    if (cmd == "load") {
        std::string path;
        std::getline(in >> std::ws, path);
        g_library = LoadLibraryA(path.c_str());
        return std::to_string(g_library ? 0 : static_cast<long>(GetLastError()));
    }
    if (cmd == "unload") {
        const BOOL ok = g_library && FreeLibrary(g_library);
        g_library = nullptr;
        return ok ? "0" : "1";
    }
    if (cmd == "window") {
        HWND w = CreateWindowExA(
            0, "HooksPeerWindow", "peer", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        g_inboxes[w] = Inbox{};
        return std::to_string(reinterpret_cast<uintptr_t>(w));
    }
    if (cmd == "destroy")
        return DestroyWindow(ParseWindow(in)) ? "0" : "1";
    if (cmd == "attach" || cmd == "detach") {
        int type = 0, filter = 0;
        in >> type;
        HWND w = ParseWindow(in);
        in >> filter;
        if (!g_library)
            return "nolib";
        if (cmd == "attach") {
            auto attach = reinterpret_cast<AttachProc>(GetProcAddress(g_library, "AttachReceiver"));
            return std::to_string(attach(static_cast<unsigned char>(type), w, static_cast<unsigned char>(filter)));
        }
        auto detach = reinterpret_cast<DetachProc>(GetProcAddress(g_library, "DetachReceiver"));
        return std::to_string(detach(static_cast<unsigned char>(type), w));
    }
    if (cmd == "reply") {
        HWND w = ParseWindow(in);
        long value = 0;
        in >> value;
        g_inboxes[w].reply = value;
        return "0";
    }
    if (cmd == "received") {
        const Inbox& box = g_inboxes[ParseWindow(in)];
        std::ostringstream out;
        out << box.count << ' ' << box.lastMessage << ' ' << box.lastW << ' ' << box.lastL;
        return out.str();
    }
    if (cmd == "pump") {
        int ms = 0;
        in >> ms;
        const DWORD end = GetTickCount() + ms;
        MSG msg;
        while (static_cast<int>(end - GetTickCount()) > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        return "0";
    }
    if (cmd == "block") {
        static const char* const names[] = {"SHELL", "KEYBOARD", "MOUSE", "CBT"};
        int type = 0;
        in >> type;
        const std::string name = std::string("HT_SYS_HOOK_Tolvar_") + names[type & 3] + "Shared";
        HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
        if (!mapping)
            return "none";
        const auto* words = static_cast<const unsigned*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 1032));
        std::ostringstream out;
        if (words) {
            const int count = static_cast<int>(words[1]);
            int alive = 0;
            for (int i = 0; i < count && i < 127; ++i)
                alive += IsWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int>(words[3 + 2 * i]))))
                    ? 1
                    : 0;
            out << "hook=" << words[0] << " count=" << count << " alive=" << alive;
            UnmapViewOfFile(words);
        }
        CloseHandle(mapping);
        return out.str();
    }
    if (cmd == "keys") {
        unsigned vk = 0;
        int n = 0, gapMs = 0, timeoutMs = 0;
        in >> vk >> n >> gapMs >> timeoutMs;
        return TypeKeys(vk, n, gapMs, timeoutMs);
    }
    if (cmd == "exit") {
        quit = true;
        return "0";
    }
    return "?";
}

// stdin is read on its own thread; the main thread handles the line and keeps
// dispatching messages while it waits for the next one.
struct LineChannel {
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE taken = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    char line[1024] = {};
    bool eof = false;
};

DWORD WINAPI ReadLines(void* param)
{
    auto* ch = static_cast<LineChannel*>(param);
    for (;;) {
        if (!std::fgets(ch->line, sizeof ch->line, stdin)) {
            ch->eof = true;
            SetEvent(ch->ready);
            return 0;
        }
        SetEvent(ch->ready);
        WaitForSingleObject(ch->taken, INFINITE);
    }
}

} // namespace

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PeerWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HooksPeerWindow";
    RegisterClassA(&wc);

    LineChannel ch;
    CloseHandle(CreateThread(nullptr, 0, ReadLines, &ch, 0, nullptr));
    bool quit = false;
    MSG msg;
    while (!quit) {
        const DWORD r = MsgWaitForMultipleObjects(1, &ch.ready, FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            if (ch.eof)
                break;
            std::string line = ch.line;
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            const std::string answer = Run(line, quit);
            std::printf("%s\n", answer.c_str());
            std::fflush(stdout);
            SetEvent(ch.taken);
        }
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    return 0;
}
