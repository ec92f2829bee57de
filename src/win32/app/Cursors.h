#pragma once
// The cursors of dragging a reply out of the window, registered at start.
#include <windows.h>

namespace corvane::win32 {

struct TCursorSlots {
    HCURSOR replyDrop = nullptr; // crReplyDrop: the program's drop cursor
    HCURSOR savedNoDrop = nullptr; // crSavedNoDrop: the system's no-drop cursor as it was at start
};

// Loads both; the copy of the system cursor is destroyed by ReleaseCursorSlots.
void RegisterCursorSlots(HINSTANCE instance);
void ReleaseCursorSlots();
const TCursorSlots& CursorSlots();

} // namespace corvane::win32
