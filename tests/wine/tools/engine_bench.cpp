// Target program of the engine's figures (not a test): an edit box plus a
// keyboard hook of its own thread, so every key it receives and every change
// of its text is timed on one clock.
//   engine_bench <reply text>
// Prints per typed macro "macro space_to_ctrlv_ms=.. space_to_text_ms=..
// space_at_ms=.." (the space and Corvane's synthesised Ctrl as this program
// receives them; the space on the performance counter, as Corvane's trace) and
// per plain key "plain key_to_text_ms=..", then empties the box for the next round.
// When the clipboard changes after a reply arrived and no longer carries rich
// text (Corvane gave the user's clipboard back), "given_back space_to_given_back_ms=..".
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND g_edit = nullptr;
std::string g_reply;
LARGE_INTEGER g_frequency;
double g_space = 0, g_ctrl = 0, g_plain = 0;
double g_firstBack = 0, g_lastBack = 0; // the Backspaces that erase the macro, as taken
double g_replySpace = 0; // the space of the last reply that arrived, until the clipboard comes back

double NowMs()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(g_frequency.QuadPart);
}

// A keyboard hook of this thread sees each key when the program takes it
// from its queue: where the hook library notifies Corvane.
LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    const bool pressed = (lParam & (1u << 31)) == 0;
    if (code == HC_ACTION && pressed) {
        const double now = NowMs();
        if (wParam == VK_SPACE)
            g_space = now, g_ctrl = 0, g_firstBack = 0, g_lastBack = 0;
        else if (wParam == VK_BACK && g_space > 0)
            g_lastBack = now, g_firstBack = g_firstBack > 0 ? g_firstBack : now;
        else if (wParam == 'X')
            g_plain = now;
        else if (wParam == VK_CONTROL && g_space > 0 && g_ctrl == 0)
            g_ctrl = now;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TextChanged()
{
    char text[1024] = {};
    GetWindowTextA(g_edit, text, sizeof text);
    const double now = NowMs();
    const std::string s = text;
    if (g_plain > 0 && s == "x") {
        std::printf("plain key_to_text_ms=%.2f\n", now - g_plain);
        g_plain = 0;
    } else if (g_space > 0 && s.find(g_reply) != std::string::npos) {
        std::printf("macro space_to_ctrlv_ms=%.2f space_to_text_ms=%.2f space_to_first_back_ms=%.2f "
                    "space_to_last_back_ms=%.2f space_at_ms=%.3f\n",
            g_ctrl - g_space, now - g_space, g_firstBack - g_space, g_lastBack - g_space, g_space);
        g_replySpace = g_space;
        g_space = 0;
    } else {
        return;
    }
    std::fflush(stdout);
    SetWindowTextA(g_edit, "");
}

void ClipboardChanged()
{
    static const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    if (g_replySpace == 0 || IsClipboardFormatAvailable(rtf))
        return;
    std::printf("given_back space_to_given_back_ms=%.2f\n", NowMs() - g_replySpace);
    std::fflush(stdout);
    g_replySpace = 0;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLIPBOARDUPDATE:
        ClipboardChanged();
        return 0;
    case WM_CREATE:
        g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 360, 30,
            hwnd, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
        AddClipboardFormatListener(hwnd);
        return 0;
    case WM_SETFOCUS:
        SetFocus(g_edit);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE)
            TextChanged();
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
    g_reply = argc > 1 ? argv[1] : "Best regards, Ann";
    QueryPerformanceFrequency(&g_frequency);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "EngineBench";
    RegisterClassA(&wc);
    CreateWindowExA(0, "EngineBench", "Engine Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 120, nullptr,
        nullptr, GetModuleHandleA(nullptr), nullptr);
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, nullptr, GetCurrentThreadId());
    std::printf("ready\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    UnhookWindowsHookEx(hook);
    return 0;
}
