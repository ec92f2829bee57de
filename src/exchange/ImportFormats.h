#pragma once
// The readers of each tool's file format, and the CSV export.
#include "exchange/ImportSet.h"

#include <string>
#include <string_view>

namespace corvane {

class TRep;
class TRepList;

// A header row names the columns, in any order: "Folder", "Name", "Macro",
// "Hot key", "Text" (the one required) and "RTF". Folder paths separate
// their folders by "/" ("//" for a "/" in a name). UTF-8 with or without a
// byte-order mark, else the system's code page.
TImportSet ReadCsvImport(std::string_view bytes, const TCodePage& codePage);
// Hotstrings ":options:abbreviation::replacement", one-line or followed by a
// continuation section "( ... )".
TImportSet ReadAutoHotkeyImport(std::string_view bytes, const TCodePage& codePage);
// A match file: "matches" with "trigger"/"triggers" and "replace" or "form".
TImportSet ReadEspansoImport(std::string_view bytes, const TCodePage& codePage);
// An XML property list of snippets ("abbreviation", "plainText", "label"),
// grouped ("groupName") into folders.
TImportSet ReadPlistImport(std::string_view bytes, const TCodePage& codePage);

// "Ctrl+Alt+Shift+A", "ctrl+alt+7" or a code "1A" as a hot-key code; empty
// when it is none Corvane can use.
std::string HotKeyCodeOfText(std::string_view text);
// "Ctrl+Alt+Shift+A" for the code "1A".
std::string HotKeyTextOfCode(std::string_view code);

// The replies of `folder` (every reply of the library when null) as CSV in
// UTF-8 with a byte-order mark, which spreadsheets open as such: the columns
// Folder (relative to `folder`), Name, Macro, Hot key, Text and RTF.
std::string WriteCsvExport(const TRepList& library, const TRep* folder, const TCodePage& codePage);

} // namespace corvane
