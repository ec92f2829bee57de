#pragma once
// Streams RTF into a RichEdit as a whole document, as the control does it by
// itself: the way the editor adapter does not load, for comparisons with it.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace corvane::testing {

inline void StreamInWholeDocument(HWND richEdit, std::string source)
{
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) -> DWORD {
        auto* text = reinterpret_cast<std::string*>(cookie);
        *given = static_cast<LONG>(std::min<size_t>(text->size(), static_cast<size_t>(wanted)));
        std::memcpy(buffer, text->data(), static_cast<size_t>(*given));
        text->erase(0, static_cast<size_t>(*given));
        return 0;
    };
    ::SendMessageA(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

} // namespace corvane::testing
