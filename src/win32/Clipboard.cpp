#include "win32/Clipboard.h"

#include <cstring>
#include <optional>
#include <vector>

#include "engine/ClipboardFormats.h"
#include "platform/Trace.h"
#include "win32/KeptDataObject.h"

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

bool NamedOneOf(UINT format, std::initializer_list<const char*> names)
{
    char name[64] = {};
    if (format < 0xC000 || !::GetClipboardFormatNameA(format, name, sizeof name))
        return false;
    for (const char* n : names)
        if (!std::strcmp(name, n))
            return true;
    return false;
}

bool IsHistoryMark(UINT format)
{
    return NamedOneOf(format,
        {"ExcludeClipboardContentFromMonitorProcessing", "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"});
}

// What OLE itself puts beside a data object, made again when one is put back.
bool IsOleBookkeeping(UINT format)
{
    return NamedOneOf(format, {"DataObject", "Ole Private Data", "Wine Marshalled DataObject"});
}

KeptDataObject& Kept(const std::shared_ptr<void>& dataObject)
{
    return *static_cast<KeptDataObject*>(dataObject.get());
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
    // The user's object stays on the clipboard after this program ends, as far as it was copied.
    if (givenBack_ && ::OleIsCurrentClipboard(&Kept(givenBack_)) == S_OK) {
        Kept(givenBack_).Seal();
        (void)::OleFlushClipboard();
    }
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
    TraceStep("target asks for a format of the reply");
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

namespace {

// Every format the open clipboard holds, as bytes, within the limits.
TSavedClipboard CopyOpenClipboard(const TClipboardLimits& limits)
{
    TSavedClipboard saved;
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
    for (std::uint32_t format : FormatsToCopy(listed, {})) {
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

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
using DataObjectRef = std::unique_ptr<IDataObject, ComRelease>;

// The formats a data object offers, as a program pasting would see them.
std::vector<FORMATETC> OfferedFormats(IDataObject& object)
{
    std::vector<FORMATETC> offered;
    IEnumFORMATETC* formats = nullptr;
    if (FAILED(object.EnumFormatEtc(DATADIR_GET, &formats)) || !formats)
        return offered;
    FORMATETC format{};
    while (formats->Next(1, &format, nullptr) == S_OK) {
        // Renderings for a particular device are the object's own business.
        if (format.ptd) {
            ::CoTaskMemFree(format.ptd);
            continue;
        }
        if (format.dwAspect == DVASPECT_CONTENT && !IsOleBookkeeping(format.cfFormat)
            && !IsHistoryMark(format.cfFormat))
            offered.push_back(format);
    }
    formats->Release();
    return offered;
}

// A format the object offers on a flat medium, as bytes.
std::optional<std::string> CopyFromObject(IDataObject& object, FORMATETC format)
{
    format.tymed = format.cfFormat == CF_ENHMETAFILE ? TYMED_ENHMF : TYMED_HGLOBAL;
    format.lindex = -1;
    STGMEDIUM medium{};
    if (FAILED(object.GetData(&format, &medium)))
        return std::nullopt;
    std::optional<std::string> bytes;
    if (medium.tymed == TYMED_ENHMF && medium.hEnhMetaFile) {
        std::string data(::GetEnhMetaFileBits(medium.hEnhMetaFile, 0, nullptr), '\0');
        if (!data.empty()
            && ::GetEnhMetaFileBits(
                medium.hEnhMetaFile, static_cast<UINT>(data.size()), reinterpret_cast<BYTE*>(data.data())))
            bytes = std::move(data);
    } else if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const SIZE_T size = ::GlobalSize(medium.hGlobal);
        if (const void* source = size ? ::GlobalLock(medium.hGlobal) : nullptr) {
            bytes = std::string(static_cast<const char*>(source), size);
            ::GlobalUnlock(medium.hGlobal);
        }
    }
    ::ReleaseStgMedium(&medium);
    return bytes;
}

// The process of the program that owns the clipboard, to know later whether it still runs.
UniqueKernelHandle ClipboardOwnerProcess()
{
    DWORD process = 0;
    if (HWND owner = ::GetClipboardOwner())
        ::GetWindowThreadProcessId(owner, &process);
    return UniqueKernelHandle(process ? ::OpenProcess(SYNCHRONIZE, FALSE, process) : nullptr);
}

// What the given-back object carries besides the user's formats: the marks
// that keep it out of clipboard history, as a reply is kept out.
void AddHistoryMarks(std::vector<FORMATETC>& offered, TClipboardFormats& copied)
{
    for (const char* name :
        {"ExcludeClipboardContentFromMonitorProcessing", "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"}) {
        const UINT format = RegisteredFormat(name);
        offered.push_back({static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        copied.push_back({format, std::string(sizeof(DWORD), '\0')});
    }
}

} // namespace

TSavedClipboard Win32ReplyClipboard::Save(const TClipboardLimits& limits)
{
    // The user's object given back at the last delivery is still there: it is kept as it is.
    if (givenBack_ && ::OleIsCurrentClipboard(&Kept(givenBack_)) == S_OK) {
        TSavedClipboard saved;
        for (const TClipboardFormat& f : Kept(givenBack_).Copied())
            if (!IsHistoryMark(f.format))
                saved.formats.push_back(f);
        saved.dataObject = givenBack_;
        return saved;
    }
    givenBack_.reset();
    {
        OpenedClipboard clipboard(window_, static_cast<DWORD>(limits.busyWaitMs));
        if (!clipboard.Open())
            return {TSavedClipboard::Outcome::Busy, {}, nullptr, 0};
        static const UINT dataObjectFormat = RegisteredFormat("DataObject");
        if (!::IsClipboardFormatAvailable(dataObjectFormat))
            return CopyOpenClipboard(limits);
    }
    // The object reads the clipboard itself: it is asked with the clipboard closed.
    if (std::optional<TSavedClipboard> saved = SaveDataObject(limits))
        return *saved;
    OpenedClipboard clipboard(window_, static_cast<DWORD>(limits.busyWaitMs));
    if (!clipboard.Open())
        return {TSavedClipboard::Outcome::Busy, {}, nullptr, 0};
    return CopyOpenClipboard(limits);
}

std::optional<TSavedClipboard> Win32ReplyClipboard::SaveDataObject(const TClipboardLimits& limits)
{
    IDataObject* got = nullptr;
    if (FAILED(::OleGetClipboard(&got)) || !got)
        return std::nullopt;
    const DataObjectRef source(got);
    UniqueKernelHandle sourceProcess = ClipboardOwnerProcess();
    std::vector<FORMATETC> enumerated = OfferedFormats(*source);
    if (enumerated.empty())
        return std::nullopt;
    std::vector<std::uint32_t> listed;
    std::vector<std::uint32_t> leftWithObject;
    for (const FORMATETC& f : enumerated) {
        listed.push_back(f.cfFormat);
        if (!OfferedFlat(f))
            leftWithObject.push_back(f.cfFormat);
    }
    std::vector<FORMATETC> offered;
    for (const FORMATETC& f : enumerated)
        if (ListedWhenGivenBack(f.cfFormat, listed))
            offered.push_back(f);

    TSavedClipboard saved;
    const ULONGLONG start = ::GetTickCount64();
    size_t total = 0;
    for (std::uint32_t format : FormatsToCopy(listed, leftWithObject)) {
        const FORMATETC* entry = nullptr;
        for (const FORMATETC& f : offered)
            if (f.cfFormat == format)
                entry = &f;
        std::optional<std::string> bytes = entry ? CopyFromObject(*source, *entry) : std::nullopt;
        if (!bytes) {
            ++saved.leftOut;
            continue;
        }
        // The object itself is kept whatever the copy costs: past a limit the
        // rest is left with it, to be asked of its program when read.
        total += bytes->size();
        if (total > limits.maxBytes)
            break;
        saved.formats.push_back({format, std::move(*bytes)});
        if (::GetTickCount64() - start > static_cast<ULONGLONG>(limits.maxMilliseconds))
            break;
    }
    TClipboardFormats copied = saved.formats;
    AddHistoryMarks(offered, copied);
    auto* kept = new KeptDataObject(source.get(), std::move(offered), std::move(copied), std::move(sourceProcess));
    saved.dataObject
        = std::shared_ptr<void>(kept, [](void* object) { static_cast<KeptDataObject*>(object)->Release(); });
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

bool Win32ReplyClipboard::Restore(const TSavedClipboard& saved)
{
    // The object's program has ended: what a plain paste could read comes back as bytes.
    if (!saved.dataObject || !Kept(saved.dataObject).SourceRuns())
        return RestoreBytes(saved.formats);
    const ULONGLONG start = ::GetTickCount64();
    HRESULT put = ::OleSetClipboard(&Kept(saved.dataObject));
    while (put == CLIPBRD_E_CANT_OPEN && ::GetTickCount64() - start < kOpenPatienceMs) {
        ::Sleep(10);
        put = ::OleSetClipboard(&Kept(saved.dataObject));
    }
    // Should OLE refuse the object, the copy goes back rather than the reply staying.
    if (FAILED(put))
        return RestoreBytes(saved.formats);
    givenBack_ = saved.dataObject;
    return true;
}

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
