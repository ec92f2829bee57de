// Runs the program's three hook receiver components and prints every event
// they fire, one line each, for the scenarios to read.
//   hooks_listener [--dll <name>] [--filter <vk>] [--seconds <n>] [--quiet-moves]
// With --filter the keyboard component registers as filtering and drops the
// key with that virtual-key code (decimal); every other key passes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hooks/HtSysHookComp.h"
#include "win32/HtSysHookHost.h"

using namespace corvane;

namespace {

const char* ButtonName(TMouseButton b)
{
    switch (b) {
    case TMouseButton::mbRight:
        return "right";
    case TMouseButton::mbMiddle:
        return "middle";
    default:
        return "left";
    }
}

const char* MovementName(THtMouseButtonMovement m)
{
    switch (m) {
    case THtMouseButtonMovement::mbmUp:
        return "up";
    case THtMouseButtonMovement::mbmDouble:
        return "double";
    default:
        return "down";
    }
}

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    std::string dll = "Tolvar";
    int filterVk = -1;
    int seconds = 600;
    bool quietMoves = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dll" && i + 1 < argc)
            dll = argv[++i];
        else if (a == "--filter" && i + 1 < argc)
            filterVk = std::atoi(argv[++i]);
        else if (a == "--seconds" && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
        else if (a == "--quiet-moves")
            quietMoves = true;
    }

    IHtHookHost& host = win32::HookHost();
    THtShellHook shell(host);
    THtKeyboardHook key(host);
    THtMouseHook mouse(host);
    shell.SetHookDLL(dll);
    key.SetHookDLL(dll);
    mouse.SetHookDLL(dll);
    key.SetAllowFiltering(filterVk >= 0);

    key.OnKeyAction = [&](THtSysHook&, std::int32_t vk, std::uint16_t repeat, std::uint8_t scan, bool ext, bool alt,
                          bool wasDown, bool pressed, bool& filter) {
        filter = vk == filterVk;
        Say("key vk=%d rep=%u scan=%u ext=%d alt=%d was=%d press=%d%s", vk, repeat, scan, ext, alt, wasDown, pressed,
            filter ? " filtered" : "");
    };
    long moves = 0;
    mouse.OnMouseMove = [&](THtSysHook&, std::uint32_t w, std::int32_t x, std::int32_t y) {
        ++moves;
        if (!quietMoves)
            Say("move win=%u x=%d y=%d", w, x, y);
    };
    mouse.OnMouseClick
        = [&](THtSysHook&, std::uint32_t w, std::int32_t x, std::int32_t y, TMouseButton b, THtMouseButtonMovement m) {
              Say("click win=%u x=%d y=%d button=%s movement=%s", w, x, y, ButtonName(b), MovementName(m));
          };
    shell.OnWindowActivated = [&](THtSysHook&, std::uint32_t w) { Say("activated win=%u", w); };
    shell.OnWindowDestroyed = [&](THtSysHook&, std::uint32_t w) { Say("destroyed win=%u", w); };
    shell.OnWindowCreated = [&](THtSysHook&, std::uint32_t w) { Say("created win=%u", w); };

    for (THtSysHook* c :
        {static_cast<THtSysHook*>(&shell), static_cast<THtSysHook*>(&key), static_cast<THtSysHook*>(&mouse)}) {
        const std::string error = c->Start();
        if (!error.empty()) {
            Say("error %s", error.c_str());
            return 1;
        }
    }
    Say("started pid=%lu", GetCurrentProcessId());

    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    mouse.Stop();
    key.Stop();
    shell.Stop();
    Say("stopped moves=%ld", moves);
    return 0;
}
