#pragma once
// Text as other programs write it (UTF-8, the system's code page) turned into
// what the library holds: single-byte names and macros, RTF bodies.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

bool IsValidUtf8(std::string_view text);
// The text without the UTF-8 byte order mark it may start with.
std::string_view WithoutUtf8Bom(std::string_view text);
// The code points of valid UTF-8 text.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);

// The system's single-byte code page, both ways. Characters it has no place
// for become "?".
struct TCodePage {
    std::function<std::string(std::string_view ansi)> toUtf8;
    std::function<std::string(std::string_view utf8)> fromUtf8;
};
// Windows-1252, the program's collation code page: what the native build
// uses, and a stand-in wherever the system's own is not at hand.
TCodePage Windows1252();

// A file's text as UTF-8: without its byte order mark, read in `codePage`
// when it is not valid UTF-8.
std::string TextAsUtf8(std::string_view bytes, const TCodePage& codePage);

// A plain text (UTF-8, lines ended by LF or CR LF) as the lines of an RTF
// document like the editor writes: characters of the code page as \'hh,
// others as \uN with "?" for readers without Unicode, one \par per line.
std::vector<std::string> RtfLinesOfText(std::string_view utf8, const TCodePage& codePage);

} // namespace corvane
