#include "win32/RichEditReplyContent.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace corvane::win32 {

namespace {

struct ReadSource {
    const std::string* text;
    size_t offset = 0;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<ReadSource*>(cookie);
    const size_t left = source->text->size() - source->offset;
    const size_t count = std::min(left, static_cast<size_t>(wanted));
    std::memcpy(buffer, source->text->data() + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *taken = count;
    return 0;
}

} // namespace

void RichEditReplyContent::LoadRtf(const std::string& rtf)
{
    ReadSource source{&rtf};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadFromString;
    // Text that is not RTF (an empty body) is taken as plain text.
    const WPARAM format = rtf.rfind("{\\rtf", 0) == 0 ? SF_RTF : SF_TEXT;
    ::SendMessageA(hwnd_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    ::SendMessageA(hwnd_, EM_SETMODIFY, FALSE, 0);
}

std::string RichEditReplyContent::SaveRtf() const
{
    std::string rtf;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    stream.pfnCallback = &WriteToString;
    ::SendMessageA(hwnd_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    // Some RichEdit versions stream the string's terminator too; it is no
    // part of the document and must not reach the reply file.
    while (!rtf.empty() && rtf.back() == '\0')
        rtf.pop_back();
    return rtf;
}

void RichEditReplyContent::Clear()
{
    ::SetWindowTextA(hwnd_, "");
    ::SendMessageA(hwnd_, EM_SETMODIFY, FALSE, 0);
}

bool RichEditReplyContent::Modified() const { return ::SendMessageA(hwnd_, EM_GETMODIFY, 0, 0) != 0; }

void RichEditReplyContent::SetModified(bool modified)
{
    ::SendMessageA(hwnd_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

bool RichEditReplyContent::CopyAllToClipboard()
{
    CHARRANGE kept{};
    ::SendMessageA(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    CHARRANGE all{0, -1};
    ::SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    ::SendMessageA(hwnd_, WM_COPY, 0, 0);
    ::SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

void RichEditReplyContent::ReplaceSelection(const std::string& text)
{
    ::SendMessageA(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace corvane::win32
