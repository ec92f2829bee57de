#include "win32/KeptDataObject.h"

#include <shlobj.h>

#include <cstring>

namespace corvane::win32 {

namespace {

HGLOBAL GlobalCopy(const std::string& bytes)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (!memory)
        return nullptr;
    if (void* target = ::GlobalLock(memory)) {
        if (!bytes.empty())
            std::memcpy(target, bytes.data(), bytes.size());
        ::GlobalUnlock(memory);
        return memory;
    }
    ::GlobalFree(memory);
    return nullptr;
}

// The copy made at the save, on the medium the reader asked for.
HRESULT Serve(const TClipboardFormat& copy, DWORD media, STGMEDIUM& medium)
{
    if (copy.format == CF_ENHMETAFILE) {
        if (!(media & TYMED_ENHMF))
            return DV_E_TYMED;
        medium.hEnhMetaFile = ::SetEnhMetaFileBits(
            static_cast<UINT>(copy.bytes.size()), reinterpret_cast<const BYTE*>(copy.bytes.data()));
        medium.tymed = TYMED_ENHMF;
        return medium.hEnhMetaFile ? S_OK : E_OUTOFMEMORY;
    }
    if (!(media & (TYMED_HGLOBAL | TYMED_ISTREAM)))
        return DV_E_TYMED;
    HGLOBAL memory = GlobalCopy(copy.bytes);
    if (!memory)
        return E_OUTOFMEMORY;
    if (media & TYMED_HGLOBAL) {
        medium.hGlobal = memory;
        medium.tymed = TYMED_HGLOBAL;
        return S_OK;
    }
    const HRESULT made = ::CreateStreamOnHGlobal(memory, TRUE, &medium.pstm);
    if (FAILED(made)) {
        ::GlobalFree(memory);
        return made;
    }
    medium.tymed = TYMED_ISTREAM;
    return S_OK;
}

} // namespace

bool OfferedFlat(const FORMATETC& format)
{
    if (format.cfFormat == CF_ENHMETAFILE)
        return (format.tymed & TYMED_ENHMF) != 0;
    return (format.tymed & TYMED_HGLOBAL) != 0;
}

KeptDataObject::KeptDataObject(
    IDataObject* source, std::vector<FORMATETC> offered, TClipboardFormats copied, UniqueKernelHandle sourceProcess)
    : source_(source),
      offered_(std::move(offered)),
      copied_(std::move(copied)),
      sourceProcess_(std::move(sourceProcess))
{
    if (source_)
        source_->AddRef();
}

KeptDataObject::~KeptDataObject()
{
    if (source_)
        source_->Release();
}

bool KeptDataObject::SourceRuns() const
{
    return sourceProcess_ && ::WaitForSingleObject(sourceProcess_.Get(), 0) == WAIT_TIMEOUT;
}

HRESULT KeptDataObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG KeptDataObject::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG KeptDataObject::Release()
{
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

const FORMATETC* KeptDataObject::Offered(const FORMATETC& format) const
{
    for (const FORMATETC& offered : offered_)
        if (offered.cfFormat == format.cfFormat && (offered.tymed & format.tymed))
            return &offered;
    return nullptr;
}

const TClipboardFormat* KeptDataObject::CopyOf(CLIPFORMAT format) const
{
    for (const TClipboardFormat& copy : copied_)
        if (copy.format == format)
            return &copy;
    return nullptr;
}

// What OleGetClipboard gave may open the clipboard itself: not while this
// thread holds it (the flush at exit, a read of this program's own; closing
// it there would close it under the caller), nor while this object is
// already asking it (it would find this object on the clipboard and ask it
// again). Another program holding it makes that open fail, harmlessly.
bool KeptDataObject::MayAskSource() const
{
    HWND opener = ::GetOpenClipboardWindow();
    const bool heldHere = opener && ::GetWindowThreadProcessId(opener, nullptr) == ::GetCurrentThreadId();
    return source_ && !sealed_ && !asking_ && !heldHere && SourceRuns();
}

HRESULT KeptDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!format || !medium)
        return E_INVALIDARG;
    std::memset(medium, 0, sizeof *medium);
    if (format->dwAspect != DVASPECT_CONTENT || !Offered(*format))
        return DV_E_FORMATETC;
    if (const TClipboardFormat* copy = CopyOf(format->cfFormat); copy && format->lindex == -1)
        return Serve(*copy, format->tymed, *medium);
    if (!MayAskSource())
        return DV_E_FORMATETC;
    asking_ = true;
    const HRESULT got = source_->GetData(format, medium);
    asking_ = false;
    return got;
}

HRESULT KeptDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT KeptDataObject::QueryGetData(FORMATETC* format)
{
    if (!format)
        return E_INVALIDARG;
    return format->dwAspect == DVASPECT_CONTENT && Offered(*format) ? S_OK : DV_E_FORMATETC;
}

HRESULT KeptDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out)
{
    if (!in || !out)
        return E_INVALIDARG;
    *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT KeptDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT KeptDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
    if (!formats)
        return E_INVALIDARG;
    *formats = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(offered_.size()), offered_.data(), formats);
}

HRESULT KeptDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT KeptDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT KeptDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

} // namespace corvane::win32
