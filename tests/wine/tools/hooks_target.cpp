// A plain program with an edit control, the target of typed keys. Prints its
// window handle once and the edit's whole text after every change.
//   hooks_target [title] [left] [seconds until it closes itself] [window class] [password]
// The window class stands for programs known by theirs (consoles); with
// "password" the edit control is a password field. As class ConsoleWindowClass
// it ignores Ctrl+V as a console does, and says so.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND g_edit = nullptr;
DWORD g_editStyle = 0;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | g_editStyle, 10,
            10, 360, 30,
            hwnd, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
        return 0;
    case WM_SETFOCUS:
        SetFocus(g_edit);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) {
            char text[1024] = {};
            GetWindowTextA(g_edit, text, sizeof text);
            std::printf("text:%s\n", text);
            std::fflush(stdout);
        }
        return 0;
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* title = argc > 1 ? argv[1] : "Hooks Target";
    const int left = argc > 2 ? std::atoi(argv[2]) : 100;
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 0;
    const char* className = argc > 4 ? argv[4] : "HooksTarget";
    if (argc > 5 && std::string(argv[5]) == "password")
        g_editStyle = ES_PASSWORD;
    WNDCLASSA wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, 100, 400, 120, nullptr,
        nullptr, GetModuleHandleA(nullptr), nullptr);
    if (seconds > 0)
        SetTimer(w, 1, static_cast<UINT>(seconds) * 1000, nullptr);
    std::printf("hwnd %u\n", static_cast<unsigned>(reinterpret_cast<uintptr_t>(w)));
    std::fflush(stdout);
    MSG msg;
    const bool console = std::string(className) == "ConsoleWindowClass";
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (console && msg.message == WM_KEYDOWN && msg.wParam == 'V' && GetKeyState(VK_CONTROL) < 0) {
            std::printf("ctrl+v ignored\n");
            std::fflush(stdout);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
