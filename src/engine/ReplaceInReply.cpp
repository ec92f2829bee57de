#include "engine/ReplaceInReply.h"

#include <cctype>
#include <vector>

#include "engine/RtfText.h"
#include "library/TextUtils.h"
#include "platform/ReplyEditor.h"

namespace corvane {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos)
            return pieces;
        start = at + 1;
    }
}

// One character of the document's text and where it stands in the source.
struct TextChar {
    char value;
    size_t begin, end; // source bytes [begin, end)
    bool joinsPrevious; // no control word, group edge or line break since the previous one
    bool followsBareWord; // stands right after a control word that ended without its blank
    char16_t unit = 0; // for a \uN character: its UTF-16 unit (value is then 0)
};

// Groups whose content is not document text.
bool IsHeaderDestination(std::string_view word)
{
    static constexpr std::string_view words[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
        "listtable", "listoverridetable", "rsidtbl", "generator", "themedata", "colorschememapping", "latentstyles",
        "datastore", "xmlnstbl", "filetbl", "revtbl", "fldinst", "bkmkstart", "bkmkend"};
    for (std::string_view w : words)
        if (w == word)
            return true;
    return false;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The document's text characters, header groups and destinations left out;
// with `breaks`, paragraph and line ends as "\n" and tabs as "\t"; with
// `unicode`, each \uN as a character of its own (its fallback left out).
std::vector<TextChar> DocumentText(std::string_view rtf, bool breaks = false, bool unicode = false)
{
    std::vector<TextChar> text;
    int depth = 0;
    int skipBelow = -1; // depth of the group being skipped, -1 when none
    bool groupStart = false; // the last token opened a group
    bool joined = false;
    int unicodeSkip = 1; // fallback characters after \uN
    int pendingFallback = 0;
    size_t bareWordEnd = std::string_view::npos;
    auto add = [&](char c, size_t b, size_t e) {
        if (pendingFallback > 0) {
            --pendingFallback;
            joined = false;
            return;
        }
        if (skipBelow < 0)
            text.push_back({c, b, e, joined, b == bareWordEnd});
        joined = true;
    };
    for (size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '{' || c == '}') {
            if (c == '{') {
                ++depth;
                groupStart = true;
            } else {
                if (depth == skipBelow)
                    skipBelow = -1;
                --depth;
                groupStart = false;
            }
            joined = false;
            pendingFallback = 0;
            ++i;
            continue;
        }
        const bool atGroupStart = groupStart;
        groupStart = false;
        if (c == '\r' || c == '\n') {
            joined = false;
            ++i;
            continue;
        }
        if (c != '\\') {
            add(c, i, i + 1);
            ++i;
            continue;
        }
        if (i + 1 >= rtf.size())
            break;
        const char n = rtf[i + 1];
        if (n == '\\' || n == '{' || n == '}') {
            add(n, i, i + 2);
            i += 2;
            continue;
        }
        if (n == '\'' && i + 3 < rtf.size() && HexDigit(rtf[i + 2]) >= 0 && HexDigit(rtf[i + 3]) >= 0) {
            add(static_cast<char>(HexDigit(rtf[i + 2]) * 16 + HexDigit(rtf[i + 3])), i, i + 4);
            i += 4;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(n))) {
            // A control symbol; "\*" makes its group a destination to skip.
            if (n == '*' && skipBelow < 0)
                skipBelow = depth;
            joined = false;
            i += 2;
            continue;
        }
        size_t j = i + 1;
        while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
            ++j;
        const std::string_view word = rtf.substr(i + 1, j - i - 1);
        const size_t numberAt = j;
        if (j < rtf.size() && rtf[j] == '-')
            ++j;
        while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j])))
            ++j;
        long number = 0;
        const bool hasNumber = j > numberAt;
        if (hasNumber)
            number = std::strtol(std::string(rtf.substr(numberAt, j - numberAt)).c_str(), nullptr, 10);
        if (j < rtf.size() && rtf[j] == ' ')
            ++j;
        else
            bareWordEnd = j;
        joined = false;
        pendingFallback = 0;
        if (skipBelow < 0 && atGroupStart && IsHeaderDestination(word))
            skipBelow = depth;
        if (word == "uc" && hasNumber)
            unicodeSkip = static_cast<int>(number);
        if (word == "u" && hasNumber) {
            pendingFallback = unicodeSkip;
            if (unicode && skipBelow < 0)
                text.push_back({'\0', i, j, false, false, static_cast<char16_t>(number & 0xFFFF)});
        }
        if (breaks && skipBelow < 0 && (word == "par" || word == "line" || word == "tab"))
            text.push_back({word == "tab" ? '\t' : '\n', i, j, false, false});
        if (word == "bin" && hasNumber && number > 0)
            j = std::min(rtf.size(), j + static_cast<size_t>(number));
        i = j;
    }
    return text;
}

// Source without an RTF header is shown as plain text: every character is
// document text, standing together with the one before.
bool IsRtf(std::string_view source) { return source.starts_with("{\\rtf"); }

std::vector<TextChar> PlainText(std::string_view source)
{
    std::vector<TextChar> text;
    text.reserve(source.size());
    for (size_t i = 0; i < source.size(); ++i)
        text.push_back({source[i], i, i + 1, true, false});
    return text;
}

bool SameChar(char a, char b) { return ToLowerAnsi(a) == ToLowerAnsi(b); }

// Every occurrence of `name` replaced by the source `valueOf`(n) gives for the n-th (from 0).
template <typename ValueOf> std::string ReplaceEach(const std::string& rtf, std::string_view name, ValueOf valueOf)
{
    int occurrence = 0;
    const std::vector<TextChar> text = IsRtf(rtf) ? DocumentText(rtf) : PlainText(rtf);
    std::string out;
    size_t copiedTo = 0;
    for (size_t i = 0; i + name.size() <= text.size();) {
        bool match = true;
        for (size_t k = 0; k < name.size() && match; ++k)
            match = SameChar(text[i + k].value, name[k]) && (k == 0 || text[i + k].joinsPrevious);
        if (!match) {
            ++i;
            continue;
        }
        out.append(rtf, copiedTo, text[i].begin - copiedTo);
        // A value put right after "\b0" or "\par" would read as part of
        // that control word ("\b05", "\parx") or give it its blank.
        if (text[i].followsBareWord)
            out += ' ';
        out += valueOf(occurrence++);
        copiedTo = text[i + name.size() - 1].end;
        i += name.size();
    }
    if (copiedTo == 0)
        return rtf;
    out.append(rtf, copiedTo, std::string::npos);
    return out;
}

std::string ReplaceOne(const std::string& rtf, std::string_view name, const std::string& escapedValue)
{
    return ReplaceEach(rtf, name, [&](int) -> const std::string& { return escapedValue; });
}

} // namespace

std::string EscapeRtfText(std::string_view value)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (u > 127) {
            out += "\\'";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string ReplaceNamesInRtf(std::string rtf, std::string_view names, std::string_view values)
{
    if (names.empty() || values.empty() || SameTextIgnoringCase(names, values))
        return rtf;
    const auto nameList = Split(names, ',');
    const auto valueList = Split(values, '\x01');
    const size_t n = std::min(nameList.size(), valueList.size());
    for (size_t i = 0; i < n; ++i) {
        if (nameList[i].empty() || valueList[i].empty())
            continue;
        const std::string value = IsRtf(rtf) ? EscapeRtfText(valueList[i]) : std::string(valueList[i]);
        rtf = ReplaceOne(rtf, nameList[i], value);
    }
    return rtf;
}

std::string WithoutFinalParagraphMark(std::string rtf)
{
    if (!IsRtf(rtf))
        return rtf;
    const std::vector<TextChar> text = DocumentText(rtf, true);
    if (text.empty() || text.back().value != '\n')
        return rtf;
    const TextChar& last = text.back();
    const std::string_view word = std::string_view(rtf).substr(last.begin, last.end - last.begin);
    // "\par" or "\par " only; "\line" stays, it is text of its own.
    if (word == "\\par" || word == "\\par ")
        rtf.erase(last.begin, last.end - last.begin);
    return rtf;
}

std::string PlainTextOfRtf(std::string_view rtf)
{
    std::string plain;
    for (const TextChar& c : DocumentText(rtf, true))
        plain += c.value;
    return plain;
}

void LoadReplaced(IReplyEditor& editor, std::string rtf, std::initializer_list<TNameValues> replacements)
{
    for (const TNameValues& replacement : replacements)
        rtf = ReplaceNamesInRtf(std::move(rtf), replacement.names, replacement.values);
    editor.LoadRtf(rtf);
    editor.SetModified(false);
}

} // namespace corvane

namespace corvane {

bool IsRtfSource(std::string_view source) { return IsRtf(source); }

std::vector<TRtfChar> RtfTextChars(std::string_view source, bool breaks)
{
    std::vector<TRtfChar> chars;
    for (const TextChar& c : IsRtf(source) ? DocumentText(source, breaks, true) : PlainText(source))
        chars.push_back({c.value, c.unit, c.begin, c.end});
    return chars;
}

std::string ReplaceEachName(
    const std::string& source, std::string_view name, const std::function<std::string(int)>& valueOf)
{
    return ReplaceEach(source, name, valueOf);
}

} // namespace corvane
