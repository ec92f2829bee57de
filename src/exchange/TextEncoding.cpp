#include "exchange/TextEncoding.h"

#include <array>
#include <cstdio>

namespace corvane {

namespace {

// 0x80 to 0x9F of Windows-1252; 0 where the code page has no character.
constexpr std::array<char32_t, 32> kCp1252High = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
    0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

char32_t Cp1252ToCodePoint(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0)
        return kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : U'?';
    return c;
}

// -1 when the code page has no byte for the code point.
int CodePointToCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100))
        return static_cast<int>(cp);
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Length of the UTF-8 sequence starting at `s[i]`, 0 when it is not a valid one.
size_t SequenceLength(std::string_view s, size_t i, char32_t& cp)
{
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = b(0);
    size_t n = 0;
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

std::string TextAsUtf8(std::string_view bytes, const TCodePage& codePage)
{
    bytes = WithoutUtf8Bom(bytes);
    return IsValidUtf8(bytes) ? std::string(bytes) : codePage.toUtf8(bytes);
}

std::string_view WithoutUtf8Bom(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

bool IsValidUtf8(std::string_view text)
{
    char32_t cp = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t n = SequenceLength(text, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    char32_t cp = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t n = SequenceLength(text, i, cp);
        out += n ? cp : U'\uFFFD';
        i += n ? n : 1;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view text)
{
    std::string out;
    for (const char32_t cp : text) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

TCodePage Windows1252()
{
    TCodePage page;
    page.toUtf8 = [](std::string_view ansi) {
        std::u32string points;
        for (const char c : ansi)
            points += Cp1252ToCodePoint(static_cast<unsigned char>(c));
        return EncodeUtf8(points);
    };
    page.fromUtf8 = [](std::string_view utf8) {
        std::string out;
        for (const char32_t cp : DecodeUtf8(utf8)) {
            const int b = CodePointToCp1252(cp);
            out += b < 0 ? '?' : static_cast<char>(b);
        }
        return out;
    };
    return page;
}

std::vector<std::string> RtfLinesOfText(std::string_view utf8, const TCodePage& codePage)
{
    std::vector<std::string> lines
        = {"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 "
           "Arial;}}",
            "\\viewkind4\\uc1\\pard\\f0\\fs20 "};
    const std::u32string points = DecodeUtf8(utf8);
    for (size_t i = 0; i < points.size(); ++i) {
        const char32_t cp = points[i];
        if (cp == U'\r')
            continue;
        if (cp == U'\n') {
            lines.back() += "\\par";
            lines.emplace_back();
            continue;
        }
        if (cp == U'\\' || cp == U'{' || cp == U'}') {
            lines.back() += '\\';
            lines.back() += static_cast<char>(cp);
        } else if (cp == U'\t') {
            lines.back() += "\\tab ";
        } else if (cp < 0x80) {
            lines.back() += static_cast<char>(cp);
        } else {
            const std::string ansi = codePage.fromUtf8(EncodeUtf8(std::u32string(1, cp)));
            char buffer[24];
            if (ansi.size() == 1 && ansi[0] != '?') {
                std::snprintf(buffer, sizeof buffer, "\\'%02x", static_cast<unsigned char>(ansi[0]));
            } else {
                // RTF's \u takes a signed 16-bit number; beyond that, a surrogate pair.
                if (cp >= 0x10000) {
                    const char32_t v = cp - 0x10000;
                    std::snprintf(buffer, sizeof buffer, "\\u%d?\\u%d?", static_cast<int>(0xD800 + (v >> 10)) - 65536,
                        static_cast<int>(0xDC00 + (v & 0x3FF)) - 65536);
                } else {
                    const int n = cp > 0x7FFF ? static_cast<int>(cp) - 65536 : static_cast<int>(cp);
                    std::snprintf(buffer, sizeof buffer, "\\u%d?", n);
                }
            }
            lines.back() += buffer;
        }
    }
    lines.back() += "\\par";
    lines.emplace_back("}");
    return lines;
}

} // namespace corvane
