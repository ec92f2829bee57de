// The baseline of Corvane's resident memory (not a test): a window that loads
// what Corvane's window loads from the system (common controls 6 through the
// same manifest, RichEdit 2, OLE) and creates one control of each kind Corvane
// uses, with nothing of Corvane's own. Prints its working set in KiB once a
// second and runs until its window is closed.
//   bare_window
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <psapi.h>
#include <richedit.h>

#include <cstdio>

namespace {

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        std::printf("working set KiB %zu\n", counters.WorkingSetSize / 1024);
        std::fflush(stdout);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void AddChild(HWND parent, const char* className, DWORD style, int y, int height)
{
    CreateWindowExA(WS_EX_CLIENTEDGE, className, "", WS_CHILD | WS_VISIBLE | style, 10, y, 300, height, parent, nullptr,
        nullptr, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    LoadLibraryA("riched20.dll");
    WNDCLASSA wc{};
    wc.lpfnWndProc = &BareProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "BareWindow", "Bare Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 740, 497,
        nullptr, nullptr, instance, nullptr);
    SetTimer(window, 1, 1000, nullptr);
    AddChild(window, WC_TREEVIEWA, TVS_HASLINES, 10, 100);
    AddChild(window, "LISTBOX", WS_VSCROLL, 120, 60);
    AddChild(window, "EDIT", ES_AUTOHSCROLL, 190, 22);
    AddChild(window, "COMBOBOX", CBS_DROPDOWNLIST, 220, 200);
    AddChild(window, TOOLBARCLASSNAMEA, CCS_NORESIZE | TBSTYLE_FLAT, 250, 28);
    AddChild(window, RICHEDIT_CLASSA, WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 290, 150);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    OleUninitialize();
    return 0;
}
