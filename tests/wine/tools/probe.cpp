// Looks at a running Corvane from outside, as another program would, and
// prints what it sees. Used by the end-to-end scenarios.
//   probe exists | visible | topmost | size | tree | list macros|hotkeys
//   probe ready MACROS TIMEOUT_MS      (started with the program: when its
//                                       window answered, when its library was in)
//   probe tray left|right        (the shell's tray-icon callback)
//   probe pid | close | memory
//   probe handles                      (kernel handles, GDI and USER objects of the program)
//   probe window TITLE                 (1 when a top-level window TITLE is visible)
//   probe checked TITLE BUTTON-TEXT    (state of a check box in that window)
//   probe click TITLE BUTTON-TEXT      (a click on a button in that window)
//   probe clipboard                    (the clipboard's text)
//   probe edit-text TITLE              (the text of the first Edit or RichEdit control of window TITLE)
//   probe caret TITLE                  (where that control's selection starts and ends, EM_GETSEL)
//   probe set-clipboard TEXT [PRIVATE] (puts TEXT on the clipboard, as another program would,
//                                       and PRIVATE in a format of its own)
//   probe clipboard-private            (the content of that format)
//   probe type-and-paste TYPED         (sends TYPED, a space, Backspaces erasing both and Ctrl+V
//                                       in one go: what a delivery asks of the program in front)
//   probe hold-clipboard MS TIMES GAP  (holds the clipboard open MS ms, TIMES times, GAP ms apart,
//                                       as a program busy reading it does; "held" once it holds it)
//   probe text TITLE                   (the static texts of that window)
//   probe item-point LABEL             (screen point of a visible tree node)
//   probe tree-images                  (each node: label, image, selected image)
//   probe windows TITLE                (how many top-level windows TITLE are visible)
//   probe owner TITLE                  (the title of the window that owns window TITLE)
//   probe command ID                   (posts the main window a menu command)
//   probe focus                        (control id of the main window's focused control)
//   probe client | position            (client size; window's screen position)
//   probe pixel X Y                    (colour at a client point of the main window, RRGGBB)
//   probe minimize | maximize          (minimises or maximises the main window)
//   probe workarea                     (left top width height of the work area the window is on)
//   probe tool-point HINT | tool-checked HINT   (a toolbar button found by its hint)
//   probe editor-point                 (screen point in the middle of the editor)
//   probe clipboard-rtf                (the clipboard's rich text)
//   probe control-point ID             (screen point in the middle of a child control)
//   probe style ID                     (window style of a child control, hexadecimal)
//   probe text-fit [TITLE|DPI]         (each visible label, check box and button of the main window,
//                                       or of window TITLE: "fit" or "cut", its text's extent in
//                                       its font, the room the control has, its text; the main
//                                       window taken at DPI when given)
//   probe rect TITLE                   (left top width height of window TITLE)
//   probe dpi-changed DPI X Y W H      (tells the main window, as Windows does when it moves to a
//                                       display of another scale, with the suggested rectangle)
//   probe dpi                          (the main window's DPI)
//   probe cursor                       (the cursor shown now: "drop" when it is the program's drop
//                                       cursor resource, "other" for any other; "handle H" when
//                                       another process's cursor cannot be read, as under Wine)
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kTrayNotify = WM_APP + 1;

HWND MainWindow() { return FindWindowA("TFormCorvane", nullptr); }

bool WaitUntilInputIdle(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    if (!process)
        return false;
    const DWORD result = WaitForInputIdle(process, 500);
    CloseHandle(process);
    return result == 0;
}

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

// The first child of a node. The program inserts a folder's children when the
// folder is first opened: one still closed is opened and closed again, as a
// user looking into it would, so that the whole library can be read.
HTREEITEM FirstChild(HWND tree, HTREEITEM item)
{
    auto child
        = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    if (child || !item)
        return child;
    if (!SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)))
        return nullptr;
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

// The images the tree shows for a node, as the control asks its owner.
void PrintItemImages(HWND tree, HTREEITEM item, RemoteBuffer& remote)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMA tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        tv.hItem = item;
        remote.Write(&tv, sizeof(tv));
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()));
        remote.Read(&tv, sizeof(tv));
        const std::string label = TreeItemText(tree, item, remote);
        std::printf("%s %d %d\n", label.c_str(), tv.iImage, tv.iSelectedImage);
        auto child = FirstChild(tree, item);
        PrintItemImages(tree, child, remote);
    }
}

void PrintTree(HWND tree, HTREEITEM item, int depth, RemoteBuffer& remote)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        std::printf("%*s%s\n", depth * 2, "", TreeItemText(tree, item, remote).c_str());
        auto child = FirstChild(tree, item);
        PrintTree(tree, child, depth + 1, remote);
    }
}

HTREEITEM FindItem(HWND tree, HTREEITEM item, const std::string& label, RemoteBuffer& remote)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        if (TreeItemText(tree, item, remote) == label)
            return item;
        auto child = FirstChild(tree, item);
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

constexpr char kPrivateFormat[] = "Corvane Test Private";

// Text with its terminating zero into a format of the open clipboard.
bool PutText(UINT format, const char* text)
{
    const size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return false;
    std::memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    return SetClipboardData(format, memory) != nullptr;
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

// The first Edit or RichEdit control among a window's descendants.
HWND FindTextControl(HWND window)
{
    HWND found = nullptr;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM out) -> BOOL {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, "Edit") != 0 && _strnicmp(name, "RichEdit", 8) != 0)
                return TRUE;
            *reinterpret_cast<HWND*>(out) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The text of the first edit control of a top-level window, read in UTF-16
// as the program holds it, printed in UTF-8.
int PrintEditText(const char* windowTitle)
{
    HWND window = FindTopLevel(windowTitle);
    HWND edit = window ? FindTextControl(window) : nullptr;
    if (!edit)
        return 1;
    // GetWindowText does not ask another process's control for its text.
    std::wstring text(static_cast<size_t>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::string utf8(text.size() * 3 + 1, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
        utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    std::printf("%s\n", utf8.c_str());
    return 0;
}

// A push button or check box of a top-level window, found by their texts.
HWND FindButton(const char* windowTitle, const char* buttonText)
{
    HWND window = FindTopLevel(windowTitle);
    return window ? FindWindowExA(window, nullptr, "Button", buttonText) : nullptr;
}

// The pixels of a cursor's masks, so that cursors of two processes compare.
std::string CursorPixels(HCURSOR cursor)
{
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info))
        return {};
    std::string pixels;
    for (HBITMAP bitmap : {info.hbmMask, info.hbmColor}) {
        BITMAP b{};
        if (!bitmap || !GetObjectA(bitmap, sizeof(b), &b))
            continue;
        std::string bits(static_cast<size_t>(b.bmWidthBytes) * b.bmHeight, '\0');
        GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
        pixels += bits;
        DeleteObject(bitmap);
    }
    return pixels;
}

// The drop cursor resource of the program that owns `main`, as it loads it.
std::string DropCursorPixels(HWND main)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    char path[MAX_PATH] = {};
    const bool named = process && GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
    if (process)
        CloseHandle(process);
    HMODULE module = named ? LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE) : nullptr;
    if (!module)
        return {};
    constexpr int kDropCursorResource = 10005;
    const auto cursor = static_cast<HCURSOR>(
        LoadImageA(module, MAKEINTRESOURCEA(kDropCursorResource), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    std::string pixels = CursorPixels(cursor);
    if (cursor)
        DestroyCursor(cursor);
    FreeLibrary(module);
    return pixels;
}

} // namespace

// Entries of the system handle table (NtQuerySystemInformation, class 16)
// that belong to process `pid`; -1 when the table cannot be read.
long SystemHandleCount(DWORD pid)
{
    struct HandleEntry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct HandleTable {
        ULONG count;
        HandleEntry entries[1];
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    constexpr LONG infoLengthMismatch = static_cast<LONG>(0xC0000004L);
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == infoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0)
            return -1;
        const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
        long count = 0;
        for (ULONG i = 0; i < table->count; ++i)
            if (table->entries[i].ownerPid == pid)
                ++count;
        return count;
    }
}

// The probe sees pixels as they are, not scaled for a program unaware of DPI.
void BecomeDpiAware()
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    using SetAwareFn = BOOL(WINAPI*)();
    auto setContext = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (setContext && setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
        return;
    if (auto setAware
        = reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware"))))
        setAware();
}

int WindowDpi(HWND window)
{
    using GetDpiFn = UINT(WINAPI*)(HWND);
    auto getDpi = reinterpret_cast<GetDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpi)
        return static_cast<int>(getDpi(window));
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The font a control draws with. Another process's font handle cannot be
// selected here, so its description is read and the font made anew; where
// even that fails, the system's message font at the window's DPI stands in.
HFONT ControlFont(HWND control, int dpi, bool& own)
{
    LOGFONTA description{};
    auto foreign = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    own = foreign && GetObjectA(foreign, sizeof(description), &description) == sizeof(description);
    if (own)
        return CreateFontIndirectA(&description);
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    auto forDpi = reinterpret_cast<ForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

// The room a control leaves its text: a check box's box and gap, a push
// button's edges, take their share.
int TextRoom(HWND control, const char* className, LONG style, int dpi)
{
    RECT r{};
    GetClientRect(control, &r);
    if (std::strcmp(className, "Button") != 0)
        return r.right;
    const LONG kind = style & BS_TYPEMASK;
    if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON
        || kind == BS_3STATE || kind == BS_AUTO3STATE)
        return r.right - MulDiv(13 + 4, dpi, 96);
    if (kind == BS_GROUPBOX)
        return r.right - MulDiv(16, dpi, 96);
    return r.right - MulDiv(6, dpi, 96);
}

// Prints every visible text control of `window` whose text is wider than its
// room as "cut", the others as "fit"; returns how many are cut. `dpi` is the
// window's unless given.
int PrintTextFit(HWND window, int dpi = 0)
{
    dpi = dpi > 0 ? dpi : WindowDpi(window);
    int cut = 0;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char className[64] = {}, text[512] = {};
        GetClassNameA(c, className, sizeof(className));
        if (!IsWindowVisible(c) || (std::strcmp(className, "Static") != 0 && std::strcmp(className, "Button") != 0))
            continue;
        const LONG style = static_cast<LONG>(GetWindowLongPtrA(c, GWL_STYLE));
        if (std::strcmp(className, "Static") == 0 && (style & SS_TYPEMASK) > SS_RIGHT
            && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP)
            continue; // pictures, frames and lines
        GetWindowTextA(c, text, sizeof(text));
        if (!text[0])
            continue;
        HDC dc = GetDC(c);
        bool own = false;
        HFONT font = ControlFont(c, dpi, own);
        HGDIOBJ old = SelectObject(dc, font);
        // The widest line, without the mnemonic ampersands.
        RECT extent{0, 0, 0, 0};
        DrawTextA(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(c, dc);
        const int room = TextRoom(c, className, style, dpi);
        const bool wraps = std::strcmp(className, "Static") == 0 ? (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP
                                                                 : (style & BS_MULTILINE) != 0;
        const bool multiline = wraps && std::strchr(text, ' ') != nullptr;
        RECT client{};
        GetClientRect(c, &client);
        // A wrapping label may take several lines where it has the height.
        const int lines = multiline ? std::max(1L, client.bottom / std::max(1L, extent.bottom)) : 1;
        const bool fits = extent.right <= room * lines;
        cut += fits ? 0 : 1;
        // "*": measured in the control's own font; otherwise in the message font at `dpi`.
        std::printf("%s %ld %d %s%s\n", fits ? "fit" : "cut", extent.right, room, text, own ? " *" : "");
    }
    return cut;
}

// Milliseconds since 1970, the clock the shell's `date +%s%3N` reads.
long long UnixMilliseconds()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ticks / 10000ULL) - 11644473600000LL;
}

// Waits, started beside the program, until its window answers with a tree
// and at least `macros` macros in its list; prints the moments (Unix ms) the
// window answered first and the library was seen whole. Each look is a
// message the window's thread must handle: a busy thread answers late.
int WaitReady(int macros, int timeoutMs)
{
    const long long start = UnixMilliseconds();
    long long answered = 0;
    while (UnixMilliseconds() - start < timeoutMs) {
        HWND main = MainWindow();
        HWND tree = main ? FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
        HWND list = main ? GetDlgItem(main, 2002) : nullptr;
        if (tree && list) {
            const auto root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
            const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
            if (!answered)
                answered = UnixMilliseconds();
            if (root && count >= macros && IsWindowEnabled(tree)) {
                std::printf("answered %lld ready %lld\n", answered, UnixMilliseconds());
                return 0;
            }
        }
        Sleep(5);
    }
    std::printf("timeout\n");
    return 1;
}

// A key's press and release, or only one of them.
void AddKey(std::vector<INPUT>& inputs, WORD virtualKey, bool press, bool release)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    if (press)
        inputs.push_back(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    if (release)
        inputs.push_back(input);
}

int TypeAndPaste(const std::string& typed)
{
    std::vector<INPUT> inputs;
    for (const char c : typed)
        AddKey(inputs, static_cast<WORD>(VkKeyScanA(c) & 0xFF), true, true);
    AddKey(inputs, VK_SPACE, true, true);
    for (std::size_t i = 0; i <= typed.size(); ++i)
        AddKey(inputs, VK_BACK, true, true);
    AddKey(inputs, VK_CONTROL, true, false);
    AddKey(inputs, 'V', true, true);
    AddKey(inputs, VK_CONTROL, false, true);
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size() ? 0 : 1;
}

int main(int argc, char** argv)
{
    BecomeDpiAware();
    if (argc < 2)
        return 64;
    const std::string cmd = argv[1];
    // Commands about other top-level windows (dialogs).
    if (cmd == "window" && argc > 2) {
        HWND window = FindTopLevel(argv[2]);
        std::printf("%d\n", window && IsWindowVisible(window) ? 1 : 0);
        return window ? 0 : 1;
    }
    if (cmd == "windows" && argc > 2) {
        int count = 0;
        for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, argv[2]); w;
             w = FindWindowExA(nullptr, w, nullptr, argv[2]))
            count += IsWindowVisible(w) ? 1 : 0;
        std::printf("%d\n", count);
        return 0;
    }
    if (cmd == "foreground") {
        char title[256] = {};
        GetWindowTextA(GetForegroundWindow(), title, sizeof title);
        std::printf("%s\n", title);
        return 0;
    }
    if (cmd == "owner" && argc > 2) {
        HWND window = FindTopLevel(argv[2]);
        HWND owner = window ? GetWindow(window, GW_OWNER) : nullptr;
        char title[256] = {};
        if (owner)
            GetWindowTextA(owner, title, sizeof(title));
        std::printf("%s\n", owner ? title : "(none)");
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
    if (cmd == "columns" && argc > 2) {
        // The widths of the columns of a dialog's list view, one line.
        HWND window = FindTopLevel(argv[2]);
        HWND list = window ? FindWindowExA(window, nullptr, "SysListView32", nullptr) : nullptr;
        if (!list)
            return 1;
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        for (int c = 0; c < count; ++c)
            std::printf("%s%d", c ? " " : "", static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)));
        std::printf("\n");
        return 0;
    }
    if (cmd == "rect" && argc > 2) {
        HWND window = FindTopLevel(argv[2]);
        RECT r{};
        if (!window || !GetWindowRect(window, &r))
            return 1;
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == "text-fit" && argc > 2 && std::atoi(argv[2]) == 0) {
        HWND window = FindTopLevel(argv[2]);
        if (!window)
            return 1;
        PrintTextFit(window);
        return 0;
    }
    if (cmd == "click" && argc > 3) {
        HWND button = FindButton(argv[2], argv[3]);
        if (button)
            PostMessageA(button, BM_CLICK, 0, 0);
        return button ? 0 : 1;
    }
    if (cmd == "clipboard")
        return PrintClipboard(CF_TEXT);
    if (cmd == "edit-text" && argc > 2)
        return PrintEditText(argv[2]);
    if (cmd == "caret" && argc > 2) {
        HWND window = FindTopLevel(argv[2]);
        HWND edit = window ? FindTextControl(window) : nullptr;
        if (!edit)
            return 1;
        // Pointers would not cross into the other process; the result holds both below 65536.
        const auto both = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
        std::printf("%u %u\n", LOWORD(both), HIWORD(both));
        return 0;
    }
    if (cmd == "clipboard-rtf")
        return PrintClipboard(RegisterClipboardFormatA("Rich Text Format"));
    if (cmd == "clipboard-private")
        return PrintClipboard(RegisterClipboardFormatA(kPrivateFormat));
    if (cmd == "set-clipboard" && argc > 2) {
        if (!OpenClipboard(nullptr))
            return 1;
        EmptyClipboard();
        bool placed = PutText(CF_TEXT, argv[2]);
        if (argc > 3)
            placed = PutText(RegisterClipboardFormatA(kPrivateFormat), argv[3]) && placed;
        CloseClipboard();
        return placed ? 0 : 1;
    }
    if (cmd == "type-and-paste" && argc > 2)
        return TypeAndPaste(argv[2]);
    if (cmd == "ready" && argc > 3)
        return WaitReady(std::atoi(argv[2]), std::atoi(argv[3]));
    if (cmd == "hold-clipboard" && argc > 4) {
        for (int i = 0; i < std::atoi(argv[3]); ++i) {
            if (i > 0)
                Sleep(static_cast<DWORD>(std::atoi(argv[4])));
            while (!OpenClipboard(nullptr))
                Sleep(1);
            if (i == 0) {
                std::printf("held\n");
                std::fflush(stdout);
            }
            Sleep(static_cast<DWORD>(std::atoi(argv[2])));
            CloseClipboard();
        }
        return 0;
    }
    HWND main = MainWindow();
    if (!main) {
        std::printf("no window\n");
        return 1;
    }
    if (cmd == "exists") {
        // The window exists from the start of its creation handler and
        // answers before the library is in.
        if (!WaitUntilInputIdle(main)) {
            std::printf("busy\n");
            return 1;
        }
        // The tree takes input once the library is in.
        HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
        if (tree && !IsWindowEnabled(tree)) {
            std::printf("reading\n");
            return 1;
        }
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
    if (cmd == "cursor") {
        CURSORINFO info{};
        info.cbSize = sizeof(info);
        if (!GetCursorInfo(&info) || !info.hCursor) {
            std::printf("none\n");
            return 0;
        }
        const std::string shown = CursorPixels(info.hCursor);
        if (shown.empty()) {
            std::printf("handle %p\n", static_cast<void*>(info.hCursor));
            return 0;
        }
        std::printf("%s\n", shown == DropCursorPixels(main) ? "drop" : "other");
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
    if (cmd == "handles") {
        // Kernel handles of the program, as the system's handle table lists
        // them; then GDI and USER objects where the system counts them.
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
        if (!process)
            return 2;
        const long handles = SystemHandleCount(pid);
        const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
        const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
        CloseHandle(process);
        if (handles < 0)
            return 2;
        std::printf("%ld %lu %lu\n", handles, static_cast<unsigned long>(gdi), static_cast<unsigned long>(user));
        return 0;
    }
    if (cmd == "tree")
        return ShowTree(main);
    if (cmd == "selected") {
        // The selected node's label, then "editing" while its label is edited.
        HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
        RemoteBuffer remote(tree, 1024);
        if (!tree || !remote.Ok())
            return 2;
        const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (!item)
            return 1;
        std::printf("%s\n", TreeItemText(tree, item, remote).c_str());
        if (SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0))
            std::printf("editing\n");
        return 0;
    }
    if (cmd == "tree-images") {
        HWND tree = FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr);
        RemoteBuffer remote(tree, 1024);
        if (!tree || !remote.Ok())
            return 2;
        PrintItemImages(tree, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), remote);
        return 0;
    }
    if (cmd == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) || !info.hwndFocus)
            return 1;
        HWND control = info.hwndFocus;
        while (control && GetParent(control) != main)
            control = GetParent(control);
        std::printf("%d\n", control ? GetDlgCtrlID(control) : 0);
        return 0;
    }
    if (cmd == "minimize" || cmd == "maximize") {
        ShowWindowAsync(main, cmd == "minimize" ? SW_MINIMIZE : SW_MAXIMIZE);
        return 0;
    }
    if (cmd == "workarea") {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        GetMonitorInfoA(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &info);
        const RECT& r = info.rcWork;
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == "text-fit") {
        PrintTextFit(main, argc > 2 ? std::atoi(argv[2]) : 0);
        return 0;
    }
    if (cmd == "dpi-changed" && argc > 6) {
        const int dpi = std::atoi(argv[2]);
        const RECT suggested{std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[3]) + std::atoi(argv[5]),
            std::atoi(argv[4]) + std::atoi(argv[6])};
        RemoteBuffer remote(main, sizeof(suggested));
        if (!remote.Write(&suggested, sizeof(suggested)))
            return 1;
        constexpr UINT kDpiChanged = 0x02E0;
        SendMessageA(main, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote.Address()));
        return 0;
    }
    if (cmd == "dpi") {
        std::printf("%d\n", WindowDpi(main));
        return 0;
    }
    if (cmd == "client") {
        RECT r{};
        GetClientRect(main, &r);
        std::printf("%ld %ld\n", r.right, r.bottom);
        return 0;
    }
    if (cmd == "move" && argc > 5) {
        // Two computers on one display: their windows side by side.
        MoveWindow(main, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), TRUE);
        return 0;
    }
    if (cmd == "position") {
        RECT r{};
        GetWindowRect(main, &r);
        std::printf("%ld %ld\n", r.left, r.top);
        return 0;
    }
    if (cmd == "pixel" && argc > 3) {
        HDC dc = GetDC(main);
        const COLORREF c = GetPixel(dc, std::atoi(argv[2]), std::atoi(argv[3]));
        ReleaseDC(main, dc);
        std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return c == CLR_INVALID ? 1 : 0;
    }
    if (cmd == "item-point" && argc > 2)
        return ShowItemPoint(main, argv[2]);
    if (cmd == "tool-point" && argc > 2)
        return ShowToolPoint(main, argv[2]);
    if (cmd == "tool-checked" && argc > 2) {
        const ToolButton button = FindToolButton(main, argv[2]);
        std::printf("%d\n", SendMessageA(button.bar, TB_ISBUTTONCHECKED, button.id, 0) ? 1 : 0);
        return button.bar ? 0 : 1;
    }
    if (cmd == "editor-zoom") {
        // EM_GETZOOM writes into the editor's process: numerator and denominator.
        HWND editor = FindWindowExA(main, nullptr, "RichEdit20A", nullptr);
        RemoteBuffer remote(main, 2 * sizeof(int));
        int zoom[2] = {-1, -1};
        if (!editor || !remote.Ok() || !remote.Write(zoom, sizeof(zoom)))
            return 1;
        SendMessageA(editor, EM_GETZOOM, reinterpret_cast<WPARAM>(remote.Address()),
            reinterpret_cast<LPARAM>(remote.Address() + sizeof(int)));
        if (!remote.Read(zoom, sizeof(zoom)))
            return 1;
        std::printf("%d/%d\n", zoom[0], zoom[1]);
        return 0;
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
    if (cmd == "style" && argc > 2) {
        HWND control = GetDlgItem(main, std::atoi(argv[2]));
        if (!control)
            return 1;
        std::printf("%lx\n", static_cast<unsigned long>(GetWindowLongPtrA(control, GWL_STYLE)));
        return 0;
    }
    // A point on the last item of the open popup menu, for a click as a user
    // makes it: keys go to whichever window has the display's focus, which a
    // menu opened from the tray may not have. (Menus are not readable from
    // another process, so the point comes from the menu window's bottom.)
    if (cmd == "menu-last-item-point") {
        HWND popup = FindWindowA("#32768", nullptr);
        RECT r{};
        if (!popup || !IsWindowVisible(popup) || !GetWindowRect(popup, &r))
            return 1;
        std::printf("%ld %ld\n", r.left + (r.right - r.left) / 4, r.bottom - 3 - GetSystemMetrics(SM_CYMENU) / 2);
        return 0;
    }
    if (cmd == "tray" && argc > 2) {
        const LPARAM mouse = std::strcmp(argv[2], "right") == 0 ? WM_RBUTTONUP : WM_LBUTTONUP;
        PostMessageA(main, kTrayNotify, 1, mouse);
        return 0;
    }
    return 64;
}
