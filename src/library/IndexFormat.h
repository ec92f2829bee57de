#pragma once
// The library's text files: lines, index lines and safe path components.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct IndexLine {
    std::string prefix; // up to and including the first "_"
    std::string number; // between that "_" and the first "?"
    std::string name; // everything after the first "?"
};

// A line without "_" has an empty prefix; a line without "?" has an empty
// name, and its number runs to the end of the line.
IndexLine SplitIndexLine(std::string_view line);
// Line breaks inside the name would split the entry into two lines on the
// next read, so they are written as spaces.
std::string MakeIndexLine(std::string_view prefix, std::string_view number, std::string_view name);

// CR LF, a lone CR and a lone LF each end a line; a last line without
// terminator counts. An empty text has no lines.
std::vector<std::string> SplitTextLines(std::string_view text);
// Every line followed by CR LF.
std::string JoinTextLines(const std::vector<std::string>& lines);

// True when `name` can only ever mean one entry inside its own directory:
// not empty, not "." or "..", no separator, drive colon, wildcard or control
// character, no trailing dot or space (Windows strips those), and not a DOS
// device name such as CON or LPT1.
bool IsPlainPathComponent(std::string_view name);

// The part of a "\"-separated path after its last separator.
std::string LastComponent(const std::string& path);
// The part before it; empty when there is no separator.
std::string ParentDirectory(const std::string& path);

} // namespace corvane
