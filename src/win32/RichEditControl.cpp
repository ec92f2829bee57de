#include "win32/RichEditControl.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace corvane::win32 {

namespace {

struct ReadCursor {
    const std::string* source;
    size_t offset;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* cursor = reinterpret_cast<ReadCursor*>(cookie);
    const size_t left = cursor->source->size() - cursor->offset;
    const size_t n = std::min(left, static_cast<size_t>(wanted));
    std::memcpy(buffer, cursor->source->data() + cursor->offset, n);
    cursor->offset += n;
    *given = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK AppendToString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* taken)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
    *taken = size;
    return 0;
}

// The clipboard may be held for a moment by another program (a clipboard
// viewer reading what we put there last).
bool OpenClipboardPatiently(HWND owner)
{
    constexpr int kAttempts = 5;
    constexpr DWORD kPauseMs = 20;
    for (int i = 0; i < kAttempts; ++i) {
        if (::OpenClipboard(owner))
            return true;
        ::Sleep(kPauseMs);
    }
    return false;
}

bool PutOnClipboard(UINT format, const std::string& bytes)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (!memory)
        return false;
    if (void* p = ::GlobalLock(memory)) {
        std::memcpy(p, bytes.c_str(), bytes.size() + 1);
        ::GlobalUnlock(memory);
    }
    if (::SetClipboardData(format, memory))
        return true; // the clipboard owns it now
    ::GlobalFree(memory);
    return false;
}

} // namespace

RichEditControl::RichEditControl(HWND richEdit) : hwnd_(richEdit)
{
    // The whole reply, however long; the control's default is 32K characters.
    ::SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void RichEditControl::StreamIn(const std::string& source, UINT format)
{
    ReadCursor cursor{&source, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cursor);
    stream.pfnCallback = &ReadFromString;
    ::SendMessageA(hwnd_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    // Undo must not bring back the previous reply's text.
    ::SendMessageA(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
    ::SendMessageA(hwnd_, EM_SETMODIFY, FALSE, 0);
}

std::string RichEditControl::StreamOut(UINT format) const
{
    std::string out;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
    stream.pfnCallback = &AppendToString;
    ::SendMessageA(hwnd_, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    // Some versions end the stream with a terminating zero.
    while (!out.empty() && out.back() == '\0')
        out.pop_back();
    return out;
}

void RichEditControl::LoadRtf(const std::string& rtf)
{
    // Lines without an RTF header are plain text: shown as they are, not dropped.
    StreamIn(rtf, rtf.starts_with("{\\rtf") ? SF_RTF : SF_TEXT);
    loaded_ = rtf;
}

std::string RichEditControl::SaveRtf() const { return Modified() ? StreamOut(SF_RTF) : loaded_; }

void RichEditControl::Clear() { LoadRtf(std::string()); }

bool RichEditControl::Modified() const { return ::SendMessageA(hwnd_, EM_GETMODIFY, 0, 0) != 0; }

void RichEditControl::SetModified(bool modified) { ::SendMessageA(hwnd_, EM_SETMODIFY, modified ? TRUE : FALSE, 0); }

bool RichEditControl::CopyAllToClipboard()
{
    static const UINT richTextFormat = ::RegisterClipboardFormatA(CF_RTF);
    const std::string rtf = StreamOut(SF_RTF);
    const std::string text = StreamOut(SF_TEXT);
    if (!OpenClipboardPatiently(hwnd_))
        return false;
    ::EmptyClipboard();
    const bool copied = PutOnClipboard(richTextFormat, rtf) && PutOnClipboard(CF_TEXT, text);
    ::CloseClipboard();
    return copied;
}

void RichEditControl::ReplaceSelection(const std::string& text)
{
    ::SendMessageA(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace corvane::win32
