#include "win32/Clipboard.h"

#include <cstring>
#include <optional>
#include <vector>

#include "engine/ClipboardFormats.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kGiveBackTimerId = 1;
constexpr UINT kGiveBackTimerMs = 50;
constexpr size_t kTextTerminator = 2; // one wide character, or two single-byte ones
constexpr char kOwnerClass[] = "CorvaneClipboardOwner";

constexpr DWORD kOpenPatienceMs = 200; // as long as a save waits

// The clipboard may be held for a moment by another program (a clipboard
// viewer reading what was put there last).
bool OpenClipboardPatiently(HWND owner, DWORD patienceMs)
{
    constexpr DWORD kPauseMs = 10;
    const ULONGLONG start = ::GetTickCount64();
    while (!::OpenClipboard(owner)) {
        if (::GetTickCount64() - start >= patienceMs)
            return false;
        ::Sleep(kPauseMs);
    }
    return true;
}

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner, DWORD patienceMs = kOpenPatienceMs)
        : open_(OpenClipboardPatiently(owner, patienceMs))
    { }
    ~OpenedClipboard()
    {
        if (open_)
            ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    [[nodiscard]] bool Open() const { return open_; }

private:
    bool open_;
};

bool PutOnOpenClipboard(UINT format, const std::string& bytes, size_t terminator)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + terminator);
    if (!memory)
        return false;
    bool placed = false;
    if (void* target = ::GlobalLock(memory)) {
        if (!bytes.empty())
            std::memcpy(target, bytes.data(), bytes.size());
        ::GlobalUnlock(memory);
        placed = ::SetClipboardData(format, memory) != nullptr;
    }
    if (!placed)
        ::GlobalFree(memory); // the clipboard owns it only on success
    return placed;
}

bool PutEnhancedMetafile(const std::string& bytes)
{
    HENHMETAFILE metafile
        = ::SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data()));
    if (!metafile)
        return false;
    if (::SetClipboardData(CF_ENHMETAFILE, metafile))
        return true;
    ::DeleteEnhMetaFile(metafile);
    return false;
}

UINT RegisteredFormat(const char* name) { return ::RegisterClipboardFormatA(name); }

// Clipboard history, the cloud clipboard and clipboard managers leave out
// what carries these formats.
void MarkOutOfHistory()
{
    static const UINT exclude = RegisteredFormat("ExcludeClipboardContentFromMonitorProcessing");
    static const UINT history = RegisteredFormat("CanIncludeInClipboardHistory");
    static const UINT cloud = RegisteredFormat("CanUploadToCloudClipboard");
    const std::string no(sizeof(DWORD), '\0');
    for (UINT format : {exclude, history, cloud})
        (void)PutOnOpenClipboard(format, no, 0);
}

bool IsHistoryMark(UINT format)
{
    char name[64] = {};
    if (format < 0xC000 || !::GetClipboardFormatNameA(format, name, sizeof name))
        return false;
    return !std::strcmp(name, "ExcludeClipboardContentFromMonitorProcessing")
        || !std::strcmp(name, "CanIncludeInClipboardHistory") || !std::strcmp(name, "CanUploadToCloudClipboard");
}

std::optional<std::string> CopyOpenClipboardFormat(UINT format)
{
    HANDLE data = ::GetClipboardData(format);
    if (!data)
        return std::nullopt;
    if (format == CF_ENHMETAFILE) {
        auto metafile = static_cast<HENHMETAFILE>(data);
        std::string bytes(::GetEnhMetaFileBits(metafile, 0, nullptr), '\0');
        if (bytes.empty()
            || !::GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), reinterpret_cast<BYTE*>(bytes.data())))
            return std::nullopt;
        return bytes;
    }
    const SIZE_T size = ::GlobalSize(data);
    const void* source = size ? ::GlobalLock(data) : nullptr;
    if (!source)
        return std::nullopt;
    std::string bytes(static_cast<const char*>(source), size);
    ::GlobalUnlock(data);
    return bytes;
}

} // namespace

bool ReplaceClipboard(HWND owner, std::initializer_list<ClipboardEntry> entries)
{
    OpenedClipboard clipboard(owner);
    if (!clipboard.Open())
        return false;
    ::EmptyClipboard();
    bool placed = true;
    for (const ClipboardEntry& entry : entries)
        placed = PutOnOpenClipboard(entry.format, entry.bytes, kTextTerminator) && placed;
    return placed;
}

bool ReplaceClipboard(HWND owner, const TClipboardFormats& formats)
{
    OpenedClipboard clipboard(owner);
    if (!clipboard.Open())
        return false;
    ::EmptyClipboard();
    bool placed = true;
    for (const TClipboardFormat& f : formats)
        placed = PutOnOpenClipboard(f.format, f.bytes, kTextTerminator) && placed;
    return placed;
}

Win32ReplyClipboard::Win32ReplyClipboard(
    HINSTANCE instance, std::function<void(std::uint32_t)> onRead, std::function<bool()> onTick)
    : onRead_(std::move(onRead)), onTick_(std::move(onTick))
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Win32ReplyClipboard::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kOwnerClass;
    ::RegisterClassA(&wc); // fails harmlessly when already registered
    window_ = ::CreateWindowExA(0, kOwnerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

Win32ReplyClipboard::~Win32ReplyClipboard()
{
    if (window_)
        ::DestroyWindow(window_);
}

LRESULT CALLBACK Win32ReplyClipboard::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32ReplyClipboard*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->window_ = nullptr;
        }
        return self->Handle(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0; // nothing crosses the window procedure
    }
}

LRESULT Win32ReplyClipboard::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_RENDERFORMAT:
        Render(static_cast<UINT>(wParam));
        return 0;
    case WM_RENDERALLFORMATS:
        RenderAll();
        return 0;
    case WM_DESTROYCLIPBOARD:
        offered_.clear();
        return 0;
    case WM_TIMER:
        if (wParam == kGiveBackTimerId && !onTick_())
            ::KillTimer(hwnd, kGiveBackTimerId);
        return 0;
    default:
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void Win32ReplyClipboard::Render(UINT format)
{
    // The reader holds the clipboard open: the data goes in without opening it.
    for (const TClipboardFormat& f : offered_)
        if (f.format == format)
            (void)PutOnOpenClipboard(format, f.bytes, kTextTerminator);
    // The reader holds the clipboard open, with a window of its own unless it gave none.
    DWORD reader = 0;
    if (HWND opener = ::GetOpenClipboardWindow())
        ::GetWindowThreadProcessId(opener, &reader);
    onRead_(static_cast<std::uint32_t>(reader));
}

void Win32ReplyClipboard::RenderAll()
{
    OpenedClipboard clipboard(window_);
    if (!clipboard.Open() || ::GetClipboardOwner() != window_)
        return;
    for (const TClipboardFormat& f : offered_)
        (void)PutOnOpenClipboard(f.format, f.bytes, kTextTerminator);
}

TSavedClipboard Win32ReplyClipboard::Save(const TClipboardLimits& limits)
{
    TSavedClipboard saved;
    OpenedClipboard clipboard(window_, static_cast<DWORD>(limits.busyWaitMs));
    if (!clipboard.Open()) {
        saved.outcome = TSavedClipboard::Outcome::Busy;
        return saved;
    }
    // The wait for a held clipboard is not the copying program's time.
    const ULONGLONG start = ::GetTickCount64();
    std::vector<std::uint32_t> listed;
    for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format))
        if (!IsHistoryMark(format))
            listed.push_back(format);
    for (std::uint32_t format : listed)
        if (HeldAsHandle(format) && !MadeFromAnother(format, listed))
            ++saved.leftOut;
    size_t total = 0;
    for (std::uint32_t format : FormatsToCopy(listed, false)) {
        std::optional<std::string> bytes = CopyOpenClipboardFormat(format);
        if (!bytes) {
            ++saved.leftOut;
            continue;
        }
        total += bytes->size();
        if (total > limits.maxBytes || ::GetTickCount64() - start > static_cast<ULONGLONG>(limits.maxMilliseconds)) {
            saved.outcome = TSavedClipboard::Outcome::OverBound;
            saved.formats.clear();
            return saved;
        }
        saved.formats.push_back({format, std::move(*bytes)});
    }
    return saved;
}

bool Win32ReplyClipboard::Offer(const TClipboardFormats& reply)
{
    OpenedClipboard clipboard(window_);
    if (!clipboard.Open())
        return false;
    ::EmptyClipboard();
    offered_ = reply;
    for (const TClipboardFormat& f : offered_)
        ::SetClipboardData(f.format, nullptr); // rendered when a program asks for it
    MarkOutOfHistory();
    ::SetTimer(window_, kGiveBackTimerId, kGiveBackTimerMs, nullptr);
    return true;
}

bool Win32ReplyClipboard::Restore(const TSavedClipboard& saved) { return RestoreBytes(saved.formats); }

bool Win32ReplyClipboard::RestoreBytes(const TClipboardFormats& formats)
{
    OpenedClipboard clipboard(window_);
    if (!clipboard.Open())
        return false;
    ::EmptyClipboard();
    for (const TClipboardFormat& f : formats)
        (void)(f.format == CF_ENHMETAFILE ? PutEnhancedMetafile(f.bytes) : PutOnOpenClipboard(f.format, f.bytes, 0));
    MarkOutOfHistory();
    return true;
}

} // namespace corvane::win32
