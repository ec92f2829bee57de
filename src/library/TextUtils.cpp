#include "library/TextUtils.h"

namespace corvane {

namespace {

unsigned char LowerByte(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    // Windows-1252 accented capitals, except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
        return 0x9A; // S caron
    case 0x8C:
        return 0x9C; // OE
    case 0x8E:
        return 0x9E; // Z caron
    case 0x9F:
        return 0xFF; // Y diaeresis
    default:
        return c;
    }
}

unsigned char UpperByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

} // namespace

char ToLowerAnsi(char c) { return static_cast<char>(LowerByte(static_cast<unsigned char>(c))); }
char ToUpperAnsi(char c) { return static_cast<char>(UpperByte(static_cast<unsigned char>(c))); }

std::string UpperCaseAnsi(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = ToUpperAnsi(c);
    return result;
}

int CompareTextIgnoringCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int ca = LowerByte(static_cast<unsigned char>(a[i]));
        const int cb = LowerByte(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareTextIgnoringCase(a, b) == 0;
}

} // namespace corvane
