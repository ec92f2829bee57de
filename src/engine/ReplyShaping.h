#pragma once
// What shapes a reply beyond its names and values: the case the macro was
// typed in carried into the text, the clipboard's text put in place of
// "%Clipboard", and the place "%Cursor" leaves the caret at.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view CursorPlaceholder = "%Cursor";
inline constexpr std::string_view ClipboardPlaceholder = "%Clipboard";

enum class TMacroCase { AsStored, CapitalFirst, AllCapitals };

// The case of the typed macro's letters (those before its "("): all capitals
// (two letters or more), a capital first letter, or anything else. Typed
// exactly as the macro is stored, the reply stays as stored.
TMacroCase CaseOfTypedMacro(std::string_view typed, std::string_view stored);

// The reply's text in `macroCase`: with CapitalFirst its first letter (when
// the text starts with a letter, after blanks and punctuation), with
// AllCapitals every letter; control words, header groups and escapes other
// than letters stay as they are.
std::string FollowMacroCase(std::string source, TMacroCase macroCase);

// Places the caret can stand at, as a text box moves over them: each
// character one, a line break one.
struct TCaretStops {
    std::size_t total = 0; // what the target receives
    std::size_t afterCursor = 0; // from the first "%Cursor" to the end; 0 without one
};

struct TFinishedReply {
    std::string source;
    TCaretStops stops;
};

// "%Clipboard" replaced by `clipboardText()` (asked for only when the reply
// holds one) as plain text; the first "%Cursor" noted and every one removed.
TFinishedReply FinishReply(std::string source, const std::function<std::u16string()>& clipboardText);

// Text as RTF characters: "\", "{", "}" escaped, line breaks as \par, tabs as
// \tab, other control characters left out, the rest above 127 as \uN.
std::string EscapeRtfUnicode(std::u16string_view text);

} // namespace corvane
