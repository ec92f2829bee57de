// Looks at a running Corvane from outside, as another program would, and
// prints what it sees. Used by the end-to-end scenarios.
//   probe exists | visible | topmost | size | tree | list macros|hotkeys
//   probe tray left|right        (the shell's tray-icon callback)
//   probe pid | close | memory
//   probe window TITLE                 (1 when a top-level window TITLE is visible)
//   probe checked TITLE BUTTON-TEXT    (state of a check box in that window)
//   probe click TITLE BUTTON-TEXT      (a click on a button in that window)
//   probe clipboard                    (the clipboard's text)
//   probe text TITLE                   (the static texts of that window)
//   probe item-point LABEL             (screen point of a visible tree node)
//   probe control-point ID             (screen point in the middle of a child control)
//   probe tool-point HINT | tool-checked HINT   (a toolbar button found by its hint)
//   probe editor-point                 (screen point in the middle of the editor)
//   probe clipboard-rtf                (the clipboard's rich text)
//   probe command ID                   (posts the command, as its button or menu item does)
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT kTrayNotify = WM_APP + 1;

HWND MainWindow() { return FindWindowA("TFormCorvane", nullptr); }

// Memory inside the target process, for messages that pass pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) : size_(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return address_ != nullptr; }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(const void* data, SIZE_T size, SIZE_T offset = 0)
    {
        return WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
    }
    bool Read(void* data, SIZE_T size, SIZE_T offset = 0)
    {
        return ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_;
};

std::string TreeItemText(HWND tree, HTREEITEM item, RemoteBuffer& remote)
{
    constexpr SIZE_T kTextOffset = 256;
    constexpr int kTextSize = 512;
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = remote.Address() + kTextOffset;
    tv.cchTextMax = kTextSize;
    remote.Write(&tv, sizeof(tv));
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()));
    char text[kTextSize + 1] = {};
    remote.Read(text, kTextSize, kTextOffset);
    return text;
}

void PrintTree(HWND tree, HTREEITEM item, int depth, RemoteBuffer& remote)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        std::printf("%*s%s\n", depth * 2, "", TreeItemText(tree, item, remote).c_str());
        auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        PrintTree(tree, child, depth + 1, remote);
    }
}

HTREEITEM FindItem(HWND tree, HTREEITEM item, const std::string& label, RemoteBuffer& remote)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        if (TreeItemText(tree, item, remote) == label)
            return item;
        auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (HTREEITEM found = FindItem(tree, child, label, remote))
            return found;
    }
    return nullptr;
}

// Screen point in the middle of a visible node's label.
int ShowItemPoint(HWND main, const std::string& label)
{
    HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
    RemoteBuffer remote(tree, 1024);
    if (!tree || !remote.Ok())
        return 2;
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM item = FindItem(tree, root, label, remote);
    if (!item)
        return 1;
    RECT rect{};
    *reinterpret_cast<HTREEITEM*>(&rect) = item; // the message takes the item in the rectangle
    remote.Write(&rect, sizeof(rect));
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.Address())))
        return 1;
    remote.Read(&rect, sizeof(rect));
    POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(tree, &p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
}

int ShowTree(HWND main)
{
    HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
    if (!tree)
        return 2;
    RemoteBuffer remote(tree, 1024);
    if (!remote.Ok())
        return 3;
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    PrintTree(tree, root, 0, remote);
    return 0;
}

int ShowList(HWND main, const char* which)
{
    const int id = std::strcmp(which, "macros") == 0 ? 2002 : 2003;
    HWND list = GetDlgItem(main, id);
    if (!list)
        return 2;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    // The wide message: the system marshals it across processes reliably.
    for (int i = 0; i < count; ++i) {
        wchar_t wide[512] = {};
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 511)
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        std::printf("%s\n", text);
    }
    return 0;
}

struct ToolButton {
    HWND bar = nullptr;
    int id = 0;
};

// A button of one of the main window's toolbars, found by its hint.
ToolButton FindToolButton(HWND main, const std::string& hint)
{
    constexpr SIZE_T kTextOffset = 256;
    for (HWND bar = FindWindowExA(main, nullptr, TOOLBARCLASSNAMEA, nullptr); bar;
         bar = FindWindowExA(main, bar, TOOLBARCLASSNAMEA, nullptr)) {
        RemoteBuffer remote(bar, 1024);
        if (!remote.Ok())
            continue;
        const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote.Address()));
            remote.Read(&button, sizeof(button));
            if (button.fsStyle & BTNS_SEP)
                continue;
            const LRESULT length = SendMessageA(
                bar, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(remote.Address() + kTextOffset));
            char text[512] = {};
            if (length > 0 && length < 500)
                remote.Read(text, static_cast<SIZE_T>(length), kTextOffset);
            if (hint == text)
                return {bar, button.idCommand};
        }
    }
    return {};
}

int ShowToolPoint(HWND main, const std::string& hint)
{
    const ToolButton button = FindToolButton(main, hint);
    RemoteBuffer remote(button.bar, sizeof(RECT));
    if (!button.bar || !remote.Ok())
        return 1;
    SendMessageA(button.bar, TB_GETRECT, button.id, reinterpret_cast<LPARAM>(remote.Address()));
    RECT rect{};
    remote.Read(&rect, sizeof(rect));
    POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(button.bar, &p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
}

// The clipboard's content in one of its text formats.
int PrintClipboard(UINT format)
{
    if (!OpenClipboard(nullptr))
        return 2;
    HANDLE data = GetClipboardData(format);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::printf("%s\n", text ? text : "");
    if (text)
        GlobalUnlock(data);
    CloseClipboard();
    return text ? 0 : 1;
}

// The visible top-level window with this title, else any with it.
HWND FindTopLevel(const char* title)
{
    HWND any = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title); w; w = FindWindowExA(nullptr, w, nullptr, title)) {
        if (IsWindowVisible(w))
            return w;
        if (!any)
            any = w;
    }
    return any;
}

// A push button or check box of a top-level window, found by their texts.
HWND FindButton(const char* windowTitle, const char* buttonText)
{
    HWND window = FindTopLevel(windowTitle);
    return window ? FindWindowExA(window, nullptr, "Button", buttonText) : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 64;
    const std::string cmd = argv[1];
    // Commands about other top-level windows (dialogs).
    if (cmd == "window" && argc > 2) {
        HWND window = FindTopLevel(argv[2]);
        std::printf("%d\n", window && IsWindowVisible(window) ? 1 : 0);
        return window ? 0 : 1;
    }
    if (cmd == "checked" && argc > 3) {
        HWND button = FindButton(argv[2], argv[3]);
        std::printf("%d\n", SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return button ? 0 : 1;
    }
    if (cmd == "text" && argc > 2) {
        // The static texts of a dialog or message box, one a line.
        HWND window = FindTopLevel(argv[2]);
        for (HWND c = window ? FindWindowExA(window, nullptr, "Static", nullptr) : nullptr; c;
             c = FindWindowExA(window, c, "Static", nullptr)) {
            char text[1024] = {};
            GetWindowTextA(c, text, sizeof(text));
            if (text[0])
                std::printf("%s\n", text);
        }
        return window ? 0 : 1;
    }
    if (cmd == "click" && argc > 3) {
        HWND button = FindButton(argv[2], argv[3]);
        if (button)
            PostMessageA(button, BM_CLICK, 0, 0);
        return button ? 0 : 1;
    }
    if (cmd == "clipboard")
        return PrintClipboard(CF_TEXT);
    if (cmd == "clipboard-rtf")
        return PrintClipboard(RegisterClipboardFormatA("Rich Text Format"));
    HWND main = MainWindow();
    if (!main) {
        std::printf("no window\n");
        return 1;
    }
    if (cmd == "exists") {
        std::printf("%p\n", static_cast<void*>(main));
        return 0;
    }
    if (cmd == "visible") {
        std::printf("%d\n", IsWindowVisible(main) ? 1 : 0);
        return 0;
    }
    if (cmd == "topmost") {
        std::printf("%d\n", (GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
        return 0;
    }
    if (cmd == "size") {
        RECT r{};
        GetWindowRect(main, &r);
        std::printf("%ld %ld\n", r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == "pid") {
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        std::printf("%lu\n", pid);
        return 0;
    }
    if (cmd == "command" && argc > 2) {
        // What a click on a button or menu item of the window sends.
        PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        return 0;
    }
    if (cmd == "close") {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    }
    if (cmd == "memory") {
        // Working set and its peak, in KiB.
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        const bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof(counters));
        if (process)
            CloseHandle(process);
        if (!ok)
            return 2;
        std::printf("%zu %zu\n", counters.WorkingSetSize / 1024, counters.PeakWorkingSetSize / 1024);
        return 0;
    }
    if (cmd == "tree")
        return ShowTree(main);
    if (cmd == "item-point" && argc > 2)
        return ShowItemPoint(main, argv[2]);
    if (cmd == "tool-point" && argc > 2)
        return ShowToolPoint(main, argv[2]);
    if (cmd == "tool-checked" && argc > 2) {
        const ToolButton button = FindToolButton(main, argv[2]);
        std::printf("%d\n", SendMessageA(button.bar, TB_ISBUTTONCHECKED, button.id, 0) ? 1 : 0);
        return button.bar ? 0 : 1;
    }
    if (cmd == "editor-point") {
        HWND editor = FindWindowExA(main, nullptr, "RichEdit20A", nullptr);
        RECT r{};
        GetWindowRect(editor, &r);
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return editor ? 0 : 1;
    }
    if (cmd == "list" && argc > 2)
        return ShowList(main, argv[2]);
    if (cmd == "control-point" && argc > 2) {
        HWND control = GetDlgItem(main, std::atoi(argv[2]));
        RECT r{};
        if (!control || !GetWindowRect(control, &r))
            return 1;
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (cmd == "tray" && argc > 2) {
        const LPARAM mouse = std::strcmp(argv[2], "right") == 0 ? WM_RBUTTONUP : WM_LBUTTONUP;
        PostMessageA(main, kTrayNotify, 1, mouse);
        return 0;
    }
    return 64;
}
