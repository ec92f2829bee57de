#pragma once
// Replacing the clipboard's content, in one or more formats at once.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace corvane::win32 {

struct ClipboardEntry {
    UINT format;
    const std::string& bytes; // a terminating zero is added, two bytes wide for UTF-16 text
};

// False when the clipboard could not be taken (another program holds it)
// or an entry could not be placed.
[[nodiscard]] bool ReplaceClipboard(HWND owner, std::initializer_list<ClipboardEntry> entries);

} // namespace corvane::win32
