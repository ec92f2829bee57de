#pragma once
// The program's one case-insensitive collation for ANSI (Windows-1252) text,
// identical in every build, so sorting, searching and comparing agree.
#include <string>
#include <string_view>

namespace corvane {

char ToLowerAnsi(char c);
char ToUpperAnsi(char c);
std::string UpperCaseAnsi(std::string_view text);

// <0, 0 or >0, comparing character by character without regard to case.
int CompareTextIgnoringCase(std::string_view a, std::string_view b);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

} // namespace corvane
