#include "library/IndexFormat.h"

#include "library/TextUtils.h"

#include <array>

namespace corvane {

IndexLine SplitIndexLine(std::string_view line)
{
    IndexLine result;
    const size_t underscore = line.find('_');
    const size_t question = line.find('?');
    const size_t numberStart = underscore == std::string_view::npos ? 0 : underscore + 1;
    if (underscore != std::string_view::npos)
        result.prefix = std::string(line.substr(0, underscore + 1));
    if (question == std::string_view::npos) {
        result.number = std::string(line.substr(numberStart));
        return result;
    }
    if (question > numberStart)
        result.number = std::string(line.substr(numberStart, question - numberStart));
    result.name = std::string(line.substr(question + 1));
    return result;
}

std::string MakeIndexLine(std::string_view prefix, std::string_view number, std::string_view name)
{
    std::string line;
    line.reserve(prefix.size() + number.size() + 1 + name.size());
    line.append(prefix).append(number).append(1, '?');
    for (char c : name)
        line += (c == '\r' || c == '\n') ? ' ' : c;
    return line;
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines)
{
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines)
        text.append(line).append("\r\n");
    return text;
}

namespace {

bool IsDeviceName(std::string_view name)
{
    const std::string_view base = name.substr(0, name.find('.'));
    static constexpr std::array<const char*, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : plain)
        if (SameTextIgnoringCase(base, device))
            return true;
    if (base.size() == 4 && base[3] >= '0' && base[3] <= '9') {
        const std::string_view stem = base.substr(0, 3);
        return SameTextIgnoringCase(stem, "COM") || SameTextIgnoringCase(stem, "LPT");
    }
    return false;
}

} // namespace

std::string LastComponent(const std::string& path)
{
    const size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ParentDirectory(const std::string& path)
{
    const size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool IsPlainPathComponent(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20)
            return false;
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return false;
        default:
            break;
        }
    }
    if (name.back() == '.' || name.back() == ' ')
        return false;
    return !IsDeviceName(name);
}

} // namespace corvane
