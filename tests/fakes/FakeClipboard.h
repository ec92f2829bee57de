#pragma once
// The clipboard as the fakes see it: what was copied last, in both formats.
#include <string>

namespace corvane::fakes {

struct FakeClipboard {
    std::string rtf;
    std::string text;
    bool heldByAnotherProgram = false; // copies fail while set
    int copies = 0;
};

} // namespace corvane::fakes
