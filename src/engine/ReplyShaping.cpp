#include "engine/ReplyShaping.h"

#include <cctype>
#include <cstdint>
#include <optional>

#include "engine/RtfText.h"
#include "library/TextUtils.h"

namespace corvane {

namespace {

std::string_view Stem(std::string_view macro) { return macro.substr(0, macro.find('(')); }

bool IsAsciiLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// Capitals of Latin-1, Latin Extended-A, Greek and Cyrillic; other units as they are.
char16_t UpperUnit(char16_t u)
{
    const auto down = [u](int by) { return static_cast<char16_t>(u - by); };
    if ((u >= u'a' && u <= u'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return down(0x20);
    if (u == 0xFF)
        return 0x178;
    if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177))
        return u % 2 == 1 ? down(1) : u;
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E))
        return u % 2 == 0 ? down(1) : u;
    if (u == 0x3C2) // final sigma
        return 0x3A3;
    if ((u >= 0x3B1 && u <= 0x3C9) || (u >= 0x430 && u <= 0x44F))
        return down(0x20);
    if (u >= 0x450 && u <= 0x45F)
        return down(0x50);
    return u;
}

// Marks and punctuation a reply may start with before its first word.
bool IsLeadingPunctuation(char16_t u)
{
    return u < 0x80 ? !std::isalnum(u) : (u <= 0xBF || (u >= 0x2000 && u <= 0x206F));
}

// One character of the text as it may change case: its UTF-16 unit, and
// whether bytes above 127 can be read (as Windows-1252).
struct TCaseChar {
    char16_t unit;
    bool known; // a character whose case this program knows
};

class TCaseWriter {
public:
    TCaseWriter(const std::string& source, bool westernBytes) : source_(source), westernBytes_(westernBytes) { }

    // The character `c` stands for.
    TCaseChar Read(const TRtfChar& c) const
    {
        if (c.value == '\0' && c.unit != 0)
            return {c.unit, true};
        const auto byte = static_cast<unsigned char>(c.value);
        return {byte, byte < 0x80 || westernBytes_};
    }
    // `c` rewritten in capitals, in the form it had in the source.
    std::string Upper(const TRtfChar& c) const
    {
        const std::string_view was = std::string_view(source_).substr(c.begin, c.end - c.begin);
        if (c.value == '\0' && c.unit != 0) {
            const auto signedUnit = static_cast<std::int16_t>(UpperUnit(c.unit));
            return "\\u" + std::to_string(signedUnit) + (was.back() == ' ' ? " " : "");
        }
        const char upper = ToUpperAnsi(c.value);
        if (upper == c.value || (!westernBytes_ && static_cast<unsigned char>(c.value) >= 0x80))
            return std::string(was);
        if (was.size() == 1)
            return std::string(1, upper);
        static constexpr char hex[] = "0123456789abcdef";
        const auto u = static_cast<unsigned char>(upper);
        return std::string("\\'") + hex[u >> 4] + hex[u & 15];
    }

private:
    const std::string& source_;
    bool westernBytes_;
};

// Bytes above 127 are Windows-1252 unless the document names another code page.
bool WesternBytes(std::string_view source)
{
    const size_t at = source.find("\\ansicpg");
    return at == std::string_view::npos || source.substr(at + 8, 5) == "1252\\" || source.substr(at + 8, 5) == "1252 ";
}

bool EndsParagraph(std::string_view source, const TRtfChar& c)
{
    return c.value == '\n' && source.substr(c.begin, 4) == "\\par"
        && (c.begin + 4 == source.size() || !IsAsciiLetter(source[c.begin + 4]));
}

std::string PlainBytes(std::u16string_view text)
{
    std::string bytes;
    for (char16_t u : text)
        if (u != 1)
            bytes += u < 0x100 ? static_cast<char>(u) : '?';
    return bytes;
}

// Where the first "%Cursor" stood while the reply is being finished: a group
// no text can hold (text braces are escaped), or in plain text a character no
// text holds.
constexpr std::string_view RtfCursorMark = "{\\*\\corvanecaret}";
constexpr std::string_view PlainCursorMark = "\x01";

// `mark`: where the first "%Cursor" stood, npos for none.
TCaretStops CountStops(const std::string& source, size_t mark)
{
    const bool rtf = IsRtfSource(source);
    const std::vector<TRtfChar> chars = RtfTextChars(source, true);
    TCaretStops stops;
    for (size_t i = 0; i < chars.size(); ++i) {
        const TRtfChar& c = chars[i];
        // A pair of surrogates is one character; CR LF in plain text one break.
        if (c.value == '\0' && c.unit >= 0xD800 && c.unit <= 0xDBFF)
            continue;
        if (!rtf && c.value == '\r' && i + 1 < chars.size() && chars[i + 1].value == '\n')
            continue;
        // The editor's copy leaves the document's last paragraph mark behind.
        if (rtf && i + 1 == chars.size() && EndsParagraph(source, c))
            continue;
        ++stops.total;
        if (mark != std::string::npos && c.begin >= mark)
            ++stops.afterCursor;
    }
    return stops;
}

} // namespace

TMacroCase CaseOfTypedMacro(std::string_view typed, std::string_view stored)
{
    const std::string_view stem = Stem(typed);
    if (stem == Stem(stored))
        return TMacroCase::AsStored;
    size_t letters = 0;
    size_t capitals = 0;
    bool firstCapital = false;
    for (char c : stem) {
        if (!IsAsciiLetter(c))
            continue;
        const bool capital = std::isupper(static_cast<unsigned char>(c)) != 0;
        if (letters == 0)
            firstCapital = capital;
        ++letters;
        capitals += capital ? 1 : 0;
    }
    if (!firstCapital)
        return TMacroCase::AsStored;
    return letters >= 2 && capitals == letters ? TMacroCase::AllCapitals : TMacroCase::CapitalFirst;
}

std::string FollowMacroCase(std::string source, TMacroCase macroCase)
{
    if (macroCase == TMacroCase::AsStored)
        return source;
    const TCaseWriter writer(source, WesternBytes(source));
    std::string out;
    size_t copiedTo = 0;
    for (const TRtfChar& c : RtfTextChars(source, false)) {
        const TCaseChar read = writer.Read(c);
        if (macroCase == TMacroCase::CapitalFirst && IsLeadingPunctuation(read.unit))
            continue;
        if (read.known) {
            out.append(source, copiedTo, c.begin - copiedTo);
            out += writer.Upper(c);
            copiedTo = c.end;
        }
        if (macroCase == TMacroCase::CapitalFirst)
            break;
    }
    out.append(source, copiedTo, std::string::npos);
    return out;
}

std::string EscapeRtfUnicode(std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == u'\r' || u == u'\n') {
            if (u == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\\par ";
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= 0x80) {
            out += "\\u" + std::to_string(static_cast<std::int16_t>(u)) + "?";
        }
    }
    return out;
}

TFinishedReply FinishReply(std::string source, const std::function<std::u16string()>& clipboardText)
{
    const bool rtf = IsRtfSource(source);
    const std::string_view mark = rtf ? RtfCursorMark : PlainCursorMark;
    source
        = ReplaceEachName(source, CursorPlaceholder, [&](int n) { return n == 0 ? std::string(mark) : std::string(); });
    std::optional<std::string> clipboard;
    source = ReplaceEachName(source, ClipboardPlaceholder, [&](int) {
        if (!clipboard) {
            const std::u16string text = clipboardText();
            clipboard = rtf ? EscapeRtfUnicode(text) : PlainBytes(text);
        }
        return *clipboard;
    });
    // Text put in for "%Clipboard" cannot hold the mark: its braces are
    // escaped, and plain text loses the character the mark is.
    const size_t at = source.find(mark);
    if (at != std::string::npos)
        source.erase(at, mark.size());
    const TCaretStops stops = CountStops(source, at);
    return {std::move(source), stops};
}

} // namespace corvane
