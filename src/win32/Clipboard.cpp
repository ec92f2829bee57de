#include "win32/Clipboard.h"

#include <cstring>

namespace corvane::win32 {

namespace {

// The clipboard may be held for a moment by another program (a clipboard
// viewer reading what was put there last).
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

bool PutOnOpenClipboard(const ClipboardEntry& entry)
{
    constexpr size_t kTerminator = 2; // one wide character, or two single-byte ones
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, entry.bytes.size() + kTerminator);
    if (!memory)
        return false;
    bool placed = false;
    if (void* target = ::GlobalLock(memory)) {
        std::memcpy(target, entry.bytes.data(), entry.bytes.size());
        ::GlobalUnlock(memory);
        placed = ::SetClipboardData(entry.format, memory) != nullptr;
    }
    if (!placed)
        ::GlobalFree(memory); // the clipboard owns it only on success
    return placed;
}

} // namespace

bool ReplaceClipboard(HWND owner, std::initializer_list<ClipboardEntry> entries)
{
    if (!OpenClipboardPatiently(owner))
        return false;
    ::EmptyClipboard();
    bool placed = true;
    for (const ClipboardEntry& entry : entries)
        placed = PutOnOpenClipboard(entry) && placed;
    ::CloseClipboard();
    return placed;
}

} // namespace corvane::win32
