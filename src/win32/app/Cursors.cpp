#include "win32/app/Cursors.h"

#include "win32/app/resource.h"

namespace corvane::win32 {

namespace {
TCursorSlots g_slots;
}

void RegisterCursorSlots(HINSTANCE instance)
{
    // A resource cursor is shared and never destroyed; the copy is our own.
    g_slots.replyDrop = static_cast<HCURSOR>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDC_REPLY_DROP), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    g_slots.savedNoDrop = reinterpret_cast<HCURSOR>(CopyIcon(reinterpret_cast<HICON>(LoadCursor(nullptr, IDC_NO))));
}

void ReleaseCursorSlots()
{
    if (g_slots.savedNoDrop)
        DestroyCursor(g_slots.savedNoDrop);
    g_slots = {};
}

const TCursorSlots& CursorSlots() { return g_slots; }

} // namespace corvane::win32
