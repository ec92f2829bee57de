// Names and values filled into RTF as RichEdit writes it. The document is
// built from tokens the input chooses (text, escapes, control words with and
// without their delimiter, groups, header groups), so its text and control
// words are known; after the replacement the text must be the expected one
// and the control words exactly those of the source. Raw input bytes are
// also replaced, only for crashes.
#include "engine/ReplaceInReply.h"

#include "fuzz/FuzzInput.h"
#include "library/TextUtils.h"

#include <cctype>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::fuzz;

namespace {

// Text runs (characters standing together) and control words of a document.
struct Parsed {
    std::vector<std::string> runs;
    std::vector<std::string> words;
};

bool IsHeader(const std::string& word)
{
    return word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info";
}

int Hex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Parsed Parse(const std::string& rtf)
{
    Parsed p;
    p.runs.emplace_back();
    int depth = 0;
    int skipping = -1;
    bool groupStart = false;
    auto breakRun = [&] {
        if (!p.runs.back().empty())
            p.runs.emplace_back();
    };
    auto text = [&](char c) {
        if (skipping < 0)
            p.runs.back() += c;
    };
    for (size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        const bool atStart = groupStart;
        groupStart = false;
        if (c == '{' || c == '}') {
            breakRun();
            if (c == '{') {
                ++depth;
                groupStart = true;
            } else {
                if (depth == skipping)
                    skipping = -1;
                --depth;
            }
            ++i;
        } else if (c == '\r' || c == '\n') {
            breakRun();
            ++i;
        } else if (c != '\\') {
            text(c);
            ++i;
        } else if (i + 1 < rtf.size() && (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}')) {
            text(rtf[i + 1]);
            i += 2;
        } else if (i + 3 < rtf.size() && rtf[i + 1] == '\'' && Hex(rtf[i + 2]) >= 0 && Hex(rtf[i + 3]) >= 0) {
            text(static_cast<char>(Hex(rtf[i + 2]) * 16 + Hex(rtf[i + 3])));
            i += 4;
        } else if (i + 1 < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
            size_t j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                ++j;
            const std::string name = rtf.substr(i + 1, j - i - 1);
            if (j < rtf.size() && rtf[j] == '-')
                ++j;
            while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j])))
                ++j;
            if (skipping < 0)
                p.words.push_back(rtf.substr(i, j - i));
            if (atStart && skipping < 0 && IsHeader(name))
                skipping = depth;
            if (j < rtf.size() && rtf[j] == ' ')
                ++j;
            breakRun();
            i = j;
        } else {
            if (i + 1 < rtf.size() && rtf[i + 1] == '*' && skipping < 0)
                skipping = depth;
            breakRun();
            i += 2;
        }
    }
    if (p.runs.back().empty())
        p.runs.pop_back();
    return p;
}

// Letter case as the program's one collation has it (Windows-1252).
char Lower(char c) { return ToLowerAnsi(c); }

// Every non-overlapping occurrence, left to right, ignoring case.
std::string ReplaceAll(const std::string& run, const std::string& name, const std::string& value)
{
    std::string out;
    size_t i = 0;
    while (i < run.size()) {
        bool match = i + name.size() <= run.size();
        for (size_t k = 0; match && k < name.size(); ++k)
            match = Lower(run[i + k]) == Lower(name[k]);
        if (match) {
            out += value;
            i += name.size();
        } else {
            out += run[i++];
        }
    }
    return out;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> pieces(1);
    for (char c : text)
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    return pieces;
}

std::string Joined(const std::vector<std::string>& runs)
{
    std::string out;
    for (const std::string& r : runs)
        out += r;
    return out;
}

// Letters often repeat, so names are found in the text.
char TextChar(FuzzInput& in)
{
    static constexpr char common[] = "abcABC ,.-!0123456789";
    const unsigned pick = in.Below(4);
    if (pick < 3)
        return common[in.Below(sizeof common - 1)];
    const char c = static_cast<char>(in.Byte());
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' ? 'x' : c;
}

std::string BuildDocument(FuzzInput& in)
{
    static constexpr const char* words[] = {"\\b", "\\b0", "\\i", "\\par", "\\fs20", "\\f0", "\\cf1", "\\ul",
        "\\ulnone", "\\plain", "\\li-120", "\\tab", "\\line"};
    static constexpr const char* headers[] = {"{\\fonttbl{\\f0\\fswiss Arial;}}", "{\\colortbl ;\\red31\\green73;}",
        "{\\*\\generator Msftedit abc;}", "{\\info{\\title abc}}"};
    std::string rtf = "{\\rtf1\\ansi\\deff0";
    int open = 1;
    const unsigned tokens = in.Below(48);
    for (unsigned t = 0; t < tokens; ++t) {
        switch (in.Below(10)) {
        case 0:
        case 1:
        case 2:
            for (unsigned n = 1 + in.Below(6); n > 0; --n)
                rtf += TextChar(in);
            break;
        case 3:
            rtf += words[in.Below(std::size(words))];
            // RichEdit ends a word before text with a blank; a symbol may follow directly.
            rtf += in.Below(3) == 0 ? "" : " ";
            break;
        case 4: {
            static constexpr char hex[] = "0123456789abcdef";
            const std::uint8_t b = in.Byte();
            rtf += "\\'";
            rtf += hex[b >> 4];
            rtf += hex[b & 15];
            break;
        }
        case 5:
            rtf += "\\\\\\{\\}"[in.Below(3) * 2];
            rtf.insert(rtf.size() - 1, "\\");
            break;
        case 6:
            rtf += '{';
            ++open;
            break;
        case 7:
            if (open > 1) {
                rtf += '}';
                --open;
            }
            break;
        case 8:
            rtf += headers[in.Below(std::size(headers))];
            break;
        case 9:
            rtf += "\r\n";
            break;
        }
    }
    while (open-- > 0)
        rtf += '}';
    return rtf;
}

// A value from a one-line input: no line breaks.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    std::string names;
    for (unsigned n = in.Below(4); n > 0; --n)
        names += (names.empty() ? "" : ",") + std::string(1, TextChar(in)) + in.Text(3);
    names = OneLine(names);
    std::string values = OneLine(in.Text(16));
    for (char& c : values)
        if (c == ';')
            c = '\x01';
    const std::string rtf = BuildDocument(in);

    const std::string result = ReplaceNamesInRtf(rtf, names, values);
    const Parsed before = Parse(rtf);
    const Parsed after = Parse(result);
    Check(after.words == before.words, "a control word changed", rtf + "\n=>\n" + result);

    std::vector<std::string> expected = before.runs;
    if (!names.empty() && !values.empty()) {
        std::string lowerNames = names, lowerValues = values;
        for (char& c : lowerNames)
            c = Lower(c);
        for (char& c : lowerValues)
            c = Lower(c);
        if (lowerNames != lowerValues) {
            const auto nameList = Split(names, ',');
            const auto valueList = Split(values, '\x01');
            for (size_t i = 0; i < std::min(nameList.size(), valueList.size()); ++i)
                if (!nameList[i].empty() && !valueList[i].empty())
                    for (std::string& run : expected)
                        run = ReplaceAll(run, nameList[i], valueList[i]);
        }
    }
    Check(Joined(after.runs) == Joined(expected), "the text is not the expected replacement",
        "names [" + names + "] values [" + values + "]\n" + rtf + "\n=>\n" + result
            + "\nexpected text: " + Joined(expected) + "\nresult text:   " + Joined(after.runs));

    // The remaining bytes as a document of any shape: only crashes count.
    const std::string raw(reinterpret_cast<const char*>(data), size);
    (void)ReplaceNamesInRtf(raw, names, values);
    return 0;
}
