// Another program on the OLE clipboard, for the Windows-side tests.
//   ole_clipboard_peer source TEXT [slow]   copies as an OLE program does: TEXT as
//       Unicode text in memory, and "embedded workbook" in the format
//       "Corvane Test Embed Source" offered only as a stream; prints "ready",
//       then "rendered text" or "rendered embed" each time a format is asked
//       for (taking 400 ms over the text when slow); ends (without flushing)
//       when a line arrives on its input.
//   ole_clipboard_peer paste          pastes as an OLE program does and prints
//       what it got: "listed embed tymed=N" when the object offers that format,
//       "object-text=T", "embed=BYTES" or "embed-failed=HR" and the time that
//       read took, "win32-text=T" (the ANSI text a plain program reads) and
//       "win32-embed=BYTES" or "(none)" with the time it took, "done".
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

const char kEmbedName[] = "Corvane Test Embed Source";
const char kEmbedBytes[] = "embedded workbook";

UINT EmbedFormat() { return RegisterClipboardFormatA(kEmbedName); }

void Say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class Source final : public IDataObject {
public:
    Source(std::wstring text, bool slow) : text_(std::move(text)), slow_(slow)
    {
        formats_[0] = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        formats_[1] = {static_cast<CLIPFORMAT>(EmbedFormat()), nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        std::memset(medium, 0, sizeof *medium);
        if (format->cfFormat == CF_UNICODETEXT && (format->tymed & TYMED_HGLOBAL)) {
            Say("rendered text");
            if (slow_)
                Sleep(400);
            const SIZE_T size = (text_.size() + 1) * sizeof(wchar_t);
            medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE, size);
            std::memcpy(GlobalLock(medium->hGlobal), text_.c_str(), size);
            GlobalUnlock(medium->hGlobal);
            medium->tymed = TYMED_HGLOBAL;
            return S_OK;
        }
        if (format->cfFormat == formats_[1].cfFormat && (format->tymed & TYMED_ISTREAM)) {
            Say("rendered embed");
            if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &medium->pstm)))
                return E_OUTOFMEMORY;
            medium->pstm->Write(kEmbedBytes, sizeof kEmbedBytes - 1, nullptr);
            const LARGE_INTEGER start{};
            medium->pstm->Seek(start, STREAM_SEEK_SET, nullptr);
            medium->tymed = TYMED_ISTREAM;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        for (const FORMATETC& f : formats_)
            if (f.cfFormat == format->cfFormat && (f.tymed & format->tymed))
                return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(2, formats_, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    LONG refs_ = 1; // lives as long as the program
    std::wstring text_;
    bool slow_;
    FORMATETC formats_[2];
};

int RunSource(const char* text, bool slow)
{
    const std::string narrow(text);
    static Source source(std::wstring(narrow.begin(), narrow.end()), slow);
    if (FAILED(OleSetClipboard(&source))) {
        Say("not set");
        return 1;
    }
    Say("ready");
    const DWORD mainThread = GetCurrentThreadId();
    std::thread([mainThread] {
        char line[16];
        (void)std::fgets(line, sizeof line, stdin);
        PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    }).detach();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    Say("end");
    ExitProcess(0); // as a program that ends without flushing its copy
}

int RunPaste()
{
    IDataObject* object = nullptr;
    if (FAILED(OleGetClipboard(&object))) {
        Say("no object");
        return 1;
    }
    IEnumFORMATETC* formats = nullptr;
    if (SUCCEEDED(object->EnumFormatEtc(DATADIR_GET, &formats)) && formats) {
        FORMATETC f{};
        while (formats->Next(1, &f, nullptr) == S_OK)
            if (f.cfFormat == EmbedFormat())
                std::printf("listed embed tymed=%lu\n", f.tymed);
        formats->Release();
    }
    FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (SUCCEEDED(object->GetData(&text, &medium))) {
        std::wstring wide(static_cast<const wchar_t*>(GlobalLock(medium.hGlobal)));
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
        std::printf("object-text=%ls\n", wide.c_str());
    }
    FORMATETC embed{static_cast<CLIPFORMAT>(EmbedFormat()), nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    const ULONGLONG start = GetTickCount64();
    const HRESULT got = object->GetData(&embed, &medium);
    const ULONGLONG took = GetTickCount64() - start;
    if (SUCCEEDED(got) && medium.tymed == TYMED_ISTREAM) {
        char bytes[64] = {};
        ULONG read = 0;
        medium.pstm->Read(bytes, sizeof bytes - 1, &read);
        ReleaseStgMedium(&medium);
        std::printf("embed=%s in %llu ms\n", bytes, took);
    } else {
        std::printf("embed-failed=%08lx in %llu ms\n", static_cast<unsigned long>(got), took);
    }
    object->Release();
    // As a plain program reads, with a window of its own.
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(window)) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            std::printf("win32-text=%s\n", static_cast<const char*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        const ULONGLONG plainStart = GetTickCount64();
        HANDLE data = GetClipboardData(EmbedFormat());
        const ULONGLONG plainTook = GetTickCount64() - plainStart;
        const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        std::printf("win32-embed=%.*s in %llu ms\n", bytes ? static_cast<int>(GlobalSize(data)) : 6,
            bytes ? bytes : "(none)", plainTook);
        if (bytes)
            GlobalUnlock(data);
        CloseClipboard();
    }
    DestroyWindow(window);
    Say("done");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (FAILED(OleInitialize(nullptr)))
        return 2;
    if (argc > 2 && std::strcmp(argv[1], "source") == 0)
        return RunSource(argv[2], argc > 3 && std::strcmp(argv[3], "slow") == 0);
    if (argc > 1 && std::strcmp(argv[1], "paste") == 0)
        return RunPaste();
    return 64;
}
