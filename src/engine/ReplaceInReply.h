#pragma once
// The one substitution step of delivery: parameter and placeholder names in a
// reply's RTF replaced by values, in the document's text only.
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvane {

class IReplyEditor;

// Names joined by ",", values by the character 1; pairs are applied in
// order, each to the result of the ones before. A name matches only where
// its characters stand together in the text (ignoring case), never inside
// control words or header groups; values are inserted escaped. Source
// without an RTF header is plain text: matched as it stands, values inserted
// as they are.
[[nodiscard]] std::string ReplaceNamesInRtf(std::string rtf, std::string_view names, std::string_view values);

struct TNameValues {
    std::string_view names;
    std::string_view values;
};

// The replacements applied to `rtf` in order, and the result loaded into the
// editor in one step; the editor is left unmodified, so the expanded text is
// never committed to the library.
void LoadReplaced(IReplyEditor& editor, std::string rtf, std::initializer_list<TNameValues> replacements);

// The document's text of an RTF source, paragraphs ended by "\n".
std::string PlainTextOfRtf(std::string_view rtf);

// RTF as the editor writes its whole document, without the paragraph mark
// that ends it: pasted, the reply then ends where its text does, in a
// rich-text program as in a plain-text one.
std::string WithoutFinalParagraphMark(std::string rtf);

// A value as RTF text: "\", "{", "}" escaped, characters above 127 as \'hh.
std::string EscapeRtfText(std::string_view value);

} // namespace corvane
