#pragma once
// The document text of a reply's source as the substitution steps read it,
// for the steps that shape a reply beyond names and values.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One character of the document's text and the source bytes [begin, end) it
// stands in: a byte, an escape (\'hh, \\, \{, \}), a \uN control word (value
// 0, `unit` its UTF-16 unit) or, with breaks, \par and \line ("\n") and \tab.
struct TRtfChar {
    char value;
    char16_t unit;
    std::size_t begin, end;
};

// Source that starts with an RTF header; anything else is plain text.
bool IsRtfSource(std::string_view source);

// The text characters of the source; header groups and destinations left out.
std::vector<TRtfChar> RtfTextChars(std::string_view source, bool breaks);

// Every occurrence of `name` in the text (ignoring case, its characters
// standing together) replaced by the source `valueOf`(n) gives for the n-th,
// counted from 0.
std::string ReplaceEachName(
    const std::string& source, std::string_view name, const std::function<std::string(int)>& valueOf);

} // namespace corvane
