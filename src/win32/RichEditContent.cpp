#include "win32/RichEditContent.h"

#include <richedit.h>

#include <cstring>

namespace corvane::win32 {

namespace {

struct ReadCursor {
    const std::string* text;
    size_t at;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read)
{
    auto* cursor = reinterpret_cast<ReadCursor*>(cookie);
    const size_t n = std::min(static_cast<size_t>(size), cursor->text->size() - cursor->at);
    std::memcpy(buffer, cursor->text->data() + cursor->at, n);
    cursor->at += n;
    *read = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK WriteChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
    *written = size;
    return 0;
}

} // namespace

void RichEditContent::LoadRtf(const std::string& rtf)
{
    ReadCursor cursor{&rtf, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&cursor), 0, &ReadChunk};
    SendMessageA(editor_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    SendMessageA(editor_, EM_SETMODIFY, FALSE, 0);
}

std::string RichEditContent::StreamOut(UINT format) const
{
    std::string out;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0, &WriteChunk};
    SendMessageA(editor_, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    return out;
}

std::string RichEditContent::SaveRtf() const { return StreamOut(SF_RTF); }

void RichEditContent::Clear()
{
    SetWindowTextA(editor_, "");
    SendMessageA(editor_, EM_SETMODIFY, FALSE, 0);
}

bool RichEditContent::Modified() const { return SendMessageA(editor_, EM_GETMODIFY, 0, 0) != 0; }

void RichEditContent::SetModified(bool modified) { SendMessageA(editor_, EM_SETMODIFY, modified ? TRUE : FALSE, 0); }

bool RichEditContent::CopyAllToClipboard()
{
    const std::string rtf = SaveRtf();
    const std::string text = StreamOut(SF_TEXT);
    const ClipboardItem items[] = {{RegisterClipboardFormatA(CF_RTF), &rtf}, {CF_TEXT, &text}};
    return PutOnClipboard(editor_, items, 2);
}

void RichEditContent::ReplaceSelection(const std::string& text)
{
    SendMessageA(editor_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool PutOnClipboard(HWND owner, const ClipboardItem* items, int count)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    bool placed = true;
    for (int i = 0; i < count && placed; ++i) {
        const std::string& bytes = *items[i].bytes;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
        void* target = memory ? GlobalLock(memory) : nullptr;
        placed = target != nullptr;
        if (placed) {
            std::memcpy(target, bytes.c_str(), bytes.size() + 1);
            GlobalUnlock(memory);
            placed = SetClipboardData(items[i].format, memory) != nullptr;
        }
        if (!placed && memory)
            GlobalFree(memory); // the clipboard owns it only on success
    }
    CloseClipboard();
    return placed;
}

} // namespace corvane::win32
