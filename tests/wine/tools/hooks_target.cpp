// A plain program with an edit control, the target of typed keys. Prints its
// window handle once, the edit's whole text after every change, and at every
// change of the clipboard whether it carries rich text and the mark that
// keeps it out of clipboard history.
//   hooks_target [title] [left] [seconds until it closes itself] [window class] [mode]
// The window class stands for programs known by theirs (consoles). As class
// ConsoleWindowClass it ignores Ctrl+V as a console does, and says so, and
// tells every key or character that would run or complete a line there
// ("control 0x0D"). Modes: "password" makes the edit control a password
// field; "derived-password" one of a class of its own derived from the edit
// control, as frameworks make them ("WindowsForms10.EDIT.app.0.1"); "late-paste" reads the
// clipboard 500 ms after Ctrl+V; "copy-after-paste" copies "MYCOPY" 50 ms after
// each paste; "clipboard-reader" reads the plain text at every change, as a
// clipboard manager does, and prints "read:" and what it read.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND g_edit = nullptr;
DWORD g_editStyle = 0;
std::string g_mode;
const char* g_editClass = "EDIT";
constexpr UINT_PTR kCloseTimer = 1, kLatePasteTimer = 2, kCopyTimer = 3;

void PasteClipboardLate(HWND hwnd)
{
    if (!OpenClipboard(hwnd))
        return;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            SendMessageA(g_edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
}

void CopyOwnText(HWND hwnd)
{
    static const char kCopy[] = "MYCOPY";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof kCopy);
    if (!memory || !OpenClipboard(hwnd))
        return;
    std::memcpy(GlobalLock(memory), kCopy, sizeof kCopy);
    GlobalUnlock(memory);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    std::printf("copied\n");
    std::fflush(stdout);
}

void ReadClipboardAtOnce(HWND hwnd)
{
    if (!OpenClipboard(hwnd))
        return;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            char narrow[256] = {};
            WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
            std::printf("read:%s\n", narrow);
            std::fflush(stdout);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
}

void PrintClipboardChange()
{
    static const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    static const UINT excluded = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    std::printf("clipboard rtf=%d excluded=%d\n", IsClipboardFormatAvailable(rtf) ? 1 : 0,
        IsClipboardFormatAvailable(excluded) ? 1 : 0);
    std::fflush(stdout);
}

WNDPROC g_editProc = nullptr;

LRESULT CALLBACK DerivedEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_editProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        g_edit = CreateWindowExA(0, g_editClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | g_editStyle,
            10, 10, 360, 30, hwnd, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
        AddClipboardFormatListener(hwnd);
        return 0;
    case WM_CLIPBOARDUPDATE:
        PrintClipboardChange();
        if (g_mode == "clipboard-reader")
            ReadClipboardAtOnce(hwnd);
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
        if (wParam == kLatePasteTimer) {
            KillTimer(hwnd, wParam);
            PasteClipboardLate(hwnd);
        } else if (wParam == kCopyTimer) {
            KillTimer(hwnd, wParam);
            CopyOwnText(hwnd);
        } else {
            DestroyWindow(hwnd);
        }
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
    g_mode = argc > 5 ? argv[5] : "";
    if (g_mode == "password" || g_mode == "derived-password")
        g_editStyle = ES_PASSWORD;
    if (g_mode == "derived-password") {
        // The edit control under another class name, as a framework derives it.
        WNDCLASSA derived{};
        GetClassInfoA(nullptr, "EDIT", &derived);
        g_editProc = derived.lpfnWndProc;
        derived.lpfnWndProc = DerivedEditProc;
        derived.hInstance = GetModuleHandleA(nullptr);
        derived.lpszClassName = "WindowsForms10.EDIT.app.0.1";
        RegisterClassA(&derived);
        g_editClass = derived.lpszClassName;
    }
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
        SetTimer(w, kCloseTimer, static_cast<UINT>(seconds) * 1000, nullptr);
    std::printf("hwnd %u\n", static_cast<unsigned>(reinterpret_cast<uintptr_t>(w)));
    std::fflush(stdout);
    MSG msg;
    const bool console = std::string(className) == "ConsoleWindowClass";
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        const bool runs = (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_TAB))
            || (msg.message == WM_CHAR && msg.wParam < 0x20 && msg.wParam != VK_BACK);
        if (console && runs) {
            std::printf("control 0x%02X\n", static_cast<unsigned>(msg.wParam));
            std::fflush(stdout);
        }
        if (console && msg.message == WM_KEYDOWN && msg.wParam == 'V' && GetKeyState(VK_CONTROL) < 0) {
            std::printf("ctrl+v ignored\n");
            std::fflush(stdout);
            continue;
        }
        const bool ctrlV = msg.message == WM_KEYDOWN && msg.wParam == 'V' && GetKeyState(VK_CONTROL) < 0;
        if (ctrlV && g_mode == "late-paste") {
            SetTimer(w, kLatePasteTimer, 500, nullptr);
            continue;
        }
        if (ctrlV && g_mode == "copy-after-paste")
            SetTimer(w, kCopyTimer, 50, nullptr);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
