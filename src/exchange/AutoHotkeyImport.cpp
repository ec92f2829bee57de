#include "exchange/ImportFormats.h"

#include <algorithm>
#include <optional>

namespace corvane {

namespace {

std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string_view Trimmed(std::string_view s)
{
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos)
        return {};
    const size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool HasOption(std::string_view options, std::string_view option)
{
    for (size_t i = 0; i + option.size() <= options.size(); ++i) {
        bool same = true;
        for (size_t k = 0; k < option.size() && same; ++k)
            same = (options[i + k] | 0x20) == (option[k] | 0x20);
        if (same)
            return true;
    }
    return false;
}

struct TOptions {
    bool raw = false; // R or T: no key names, no modifier symbols
    bool code = false; // X
    bool noBackspace = false; // B0
    bool insideWords = false; // ?
    bool immediate = false; // *
};

// Later options override earlier ones, as the script's #Hotstring defaults
// are overridden by a hotstring's own.
void ApplyOptions(TOptions& o, std::string_view options)
{
    for (size_t i = 0; i < options.size(); ++i) {
        const char c = static_cast<char>(options[i] | 0x20);
        const bool zero = i + 1 < options.size() && options[i + 1] == '0';
        switch (c) {
        case 'r':
        case 't':
            o.raw = !zero;
            break;
        case 'x':
            o.code = true;
            break;
        case 'b':
            o.noBackspace = zero;
            break;
        case '?':
            o.insideWords = !zero;
            break;
        case '*':
            o.immediate = !zero;
            break;
        default:
            break;
        }
    }
}

// The line without a comment that starts with whitespace and ";".
std::string WithoutComment(std::string_view line)
{
    for (size_t i = 1; i < line.size(); ++i)
        if (line[i] == ';' && (line[i - 1] == ' ' || line[i - 1] == '\t'))
            return std::string(line.substr(0, i));
    return std::string(line);
}

// The escape sequences of the script language: `n, `t, `` and the like.
std::string Unescaped(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '`' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 's':
            out += ' ';
            break;
        case 'r':
        case 'a':
        case 'b':
        case 'f':
        case 'v':
            break;
        default:
            out += c; // `` `; `: `% `{ and the rest stand for themselves
            break;
        }
    }
    return out;
}

// The text that sending `replacement` types, or nullopt with `why` when it
// sends keys that are not text.
std::optional<std::string> SentText(std::string_view replacement, bool raw, std::string& why)
{
    if (raw)
        return std::string(replacement);
    std::string out;
    for (size_t i = 0; i < replacement.size(); ++i) {
        const char c = replacement[i];
        if (c == '!' || c == '^' || c == '+' || c == '#') {
            why = std::string("sends a key combination (\"") + c + "\" is a modifier key here; {" + c
                + "} types the character)";
            return std::nullopt;
        }
        if (c != '{') {
            out += c;
            continue;
        }
        // "{}}" names the brace itself.
        size_t close = replacement.find('}', i + 2);
        if (i + 1 < replacement.size() && replacement[i + 1] == '}')
            close = i + 2 < replacement.size() && replacement[i + 2] == '}' ? i + 2 : std::string_view::npos;
        if (close == std::string_view::npos) {
            why = "a \"{\" without its \"}\"";
            return std::nullopt;
        }
        std::string key(replacement.substr(i + 1, close - i - 1));
        std::string lower = key;
        for (char& k : lower)
            k = static_cast<char>(k >= 'A' && k <= 'Z' ? k - 'A' + 'a' : k);
        if (key.size() == 1)
            out += key;
        else if (lower == "enter")
            out += '\n';
        else if (lower == "tab")
            out += '\t';
        else if (lower == "space")
            out += ' ';
        else if (lower == "raw" || lower == "text")
            return out + std::string(replacement.substr(close + 1));
        else {
            why = "sends the key {" + key + "}";
            return std::nullopt;
        }
        i = close;
    }
    return out;
}

} // namespace

TImportSet ReadAutoHotkeyImport(std::string_view bytes, const TCodePage& codePage)
{
    TImportSet set;
    set.error = CheckImportBytes(bytes, false);
    if (!set.error.empty())
        return set;
    const std::string text = TextAsUtf8(bytes, codePage);

    const std::vector<std::string> lines = Lines(text);
    TOptions defaults;
    bool inBlockComment = false;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = Trimmed(lines[n]);
        if (inBlockComment) {
            inBlockComment = !line.starts_with("*/") && line.find("*/") == std::string_view::npos;
            continue;
        }
        if (line.starts_with("/*")) {
            inBlockComment = line.find("*/") == std::string_view::npos;
            continue;
        }
        if (line.size() > 11 && HasOption(line.substr(0, 11), "#Hotstring ")) {
            ApplyOptions(defaults, line.substr(11));
            continue;
        }
        if (!line.starts_with(":"))
            continue;
        const size_t optionsEnd = line.find(':', 1);
        if (optionsEnd == std::string_view::npos)
            continue;
        const size_t abbreviationEnd = line.find("::", optionsEnd + 1);
        if (abbreviationEnd == std::string_view::npos || abbreviationEnd == optionsEnd + 1)
            continue;
        const std::string_view options = line.substr(1, optionsEnd - 1);
        const std::string abbreviation(line.substr(optionsEnd + 1, abbreviationEnd - optionsEnd - 1));
        const std::string what = std::string(line.substr(0, abbreviationEnd + 2));
        TOptions o = defaults;
        ApplyOptions(o, options);
        std::string replacement(Trimmed(WithoutComment(line.substr(abbreviationEnd + 2))));
        const size_t startLine = n;

        if (replacement.empty()) {
            // A continuation section on the lines that follow, or code.
            size_t next = n + 1;
            while (next < lines.size() && Trimmed(lines[next]).empty())
                ++next;
            if (next >= lines.size() || !Trimmed(lines[next]).starts_with("(")) {
                set.notTaken.push_back({what, "the replacement is code, which Corvane does not run"});
                continue;
            }
            const std::string_view sectionOptions = Trimmed(lines[next]).substr(1);
            const bool ltrim = HasOption(sectionOptions, "LTrim") && !HasOption(sectionOptions, "LTrim0");
            std::string body;
            bool closed = false;
            for (n = next + 1; n < lines.size(); ++n) {
                std::string_view l = lines[n];
                if (Trimmed(l).starts_with(")")) {
                    closed = true;
                    break;
                }
                if (ltrim)
                    l = l.substr(std::min(l.size(), l.find_first_not_of(" \t")));
                if (!body.empty() || n > next + 1)
                    body += '\n';
                body += l;
            }
            if (!closed) {
                TImportSet failed;
                failed.error = "The continuation section of the hotstring on line " + std::to_string(startLine + 1)
                    + " has no closing \")\": the file may have been cut short. Nothing was imported.";
                return failed;
            }
            replacement = body;
        }
        if (o.code) {
            set.notTaken.push_back({what, "the replacement is code (option X), which Corvane does not run"});
            continue;
        }
        if (o.noBackspace) {
            set.notTaken.push_back({what, "option B0 keeps the typed abbreviation; Corvane always replaces it"});
            continue;
        }
        if (o.insideWords) {
            set.notTaken.push_back({what, "option ? fires inside words; Corvane's macros stand as words of their own"});
            continue;
        }
        std::string why;
        const auto sent = SentText(Unescaped(replacement), o.raw, why);
        if (!sent) {
            set.notTaken.push_back({what, why});
            continue;
        }
        TIncoming in;
        in.name = abbreviation;
        in.macro = abbreviation;
        in.text = *sent;
        if (o.immediate)
            in.note = "option * fired without an ending key; here the macro ends with a space";
        AddIncoming(set, std::move(in), codePage);
    }
    return set;
}

} // namespace corvane
