#pragma once
// The user's clipboard as a program put it there through OLE, held while a
// reply stands in its place and put back with OleSetClipboard: it lists
// what the program offered, with the media it offered them on; what a plain
// paste can read is served from a copy made at the save, and what the
// program offered only as a storage or a stream (an embedded workbook, a
// virtual file's contents) is asked of that program's data object when a
// program reads it, so the save never had it rendered.
#include <windows.h>

#include <ole2.h>

#include <vector>

#include "platform/Clipboard.h"
#include "win32/Handles.h"

namespace corvane::win32 {

class KeptDataObject final : public IDataObject {
public:
    // `source` is what OleGetClipboard gave for the program's object;
    // `offered` its formats, `copied` the flat ones read at the save;
    // `sourceProcess` that program, to know whether it still runs.
    KeptDataObject(IDataObject* source, std::vector<FORMATETC> offered, TClipboardFormats copied,
        UniqueKernelHandle sourceProcess);
    KeptDataObject(const KeptDataObject&) = delete;
    KeptDataObject& operator=(const KeptDataObject&) = delete;

    // The program that put the object there still runs.
    [[nodiscard]] bool SourceRuns() const;
    // From now on only the copy is served (the clipboard is being flushed
    // at exit: the program's object is not asked while it is held open).
    void Seal() { sealed_ = true; }
    [[nodiscard]] const TClipboardFormats& Copied() const { return copied_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDataObject
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

private:
    ~KeptDataObject();
    [[nodiscard]] const FORMATETC* Offered(const FORMATETC& format) const;
    [[nodiscard]] const TClipboardFormat* CopyOf(CLIPFORMAT format) const;
    [[nodiscard]] bool MayAskSource() const;

    LONG references_ = 1;
    IDataObject* source_;
    std::vector<FORMATETC> offered_;
    TClipboardFormats copied_;
    UniqueKernelHandle sourceProcess_;
    bool asking_ = false; // a read is being passed to the source: one at a time, never back into this object
    bool sealed_ = false;
};

// The formats to read at a save: those a data object offers on a flat
// medium (memory, or an enhanced metafile), the rest left with the object.
[[nodiscard]] bool OfferedFlat(const FORMATETC& format);

} // namespace corvane::win32
