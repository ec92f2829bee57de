#include "fakes/FakeReplyEditor.h"

#include <cctype>

namespace corvane::fakes {

bool FakeReplyEditor::CopyAllToClipboard()
{
    if (!clipboard_ || clipboard_->heldByAnotherProgram)
        return false;
    clipboard_->Copy(PlainText());
    clipboard_->rtf = rtf_;
    clipboard_->ownedHere = true;
    ++clipboard_->copies;
    return true;
}

TClipboardFormats FakeReplyEditor::ClipboardFormats() const
{
    return {{FakeRtfFormat, rtf_}, {FakeTextFormat, PlainText()}};
}

// The fake has no caret: text goes before the document's closing brace, or at
// the end when there is none, which is where a caret left after loading sits.
void FakeReplyEditor::ReplaceSelection(const std::string& text)
{
    const auto close = rtf_.rfind('}');
    if (close == std::string::npos)
        rtf_ += text;
    else
        rtf_.insert(close, text);
    modified_ = true;
}

std::string FakeReplyEditor::PlainTextOfRtf(const std::string& rtf)
{
    std::string out;
    int depth = 0;
    int skipFrom = -1; // depth of a group whose text is not shown (\fonttbl, \*...)
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            continue;
        }
        if (c == '}') {
            if (depth == skipFrom)
                skipFrom = -1;
            --depth;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (c == '\\' && i + 1 < rtf.size()) {
            const char n = rtf[i + 1];
            if (n == '\\' || n == '{' || n == '}') {
                if (skipFrom < 0)
                    out += n;
                ++i;
                continue;
            }
            if (n == '\'' && i + 3 < rtf.size()) {
                if (skipFrom < 0)
                    out += static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
                i += 3;
                continue;
            }
            if (n == '*') {
                if (skipFrom < 0)
                    skipFrom = depth;
                ++i;
                continue;
            }
            std::size_t j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                ++j;
            const std::string word = rtf.substr(i + 1, j - i - 1);
            while (j < rtf.size() && (rtf[j] == '-' || std::isdigit(static_cast<unsigned char>(rtf[j]))))
                ++j;
            if (j < rtf.size() && rtf[j] == ' ')
                ++j;
            if (skipFrom < 0 && (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info"))
                skipFrom = depth;
            if (skipFrom < 0 && (word == "par" || word == "line"))
                out += "\r\n";
            if (skipFrom < 0 && word == "tab")
                out += '\t';
            i = j - 1;
            continue;
        }
        if (skipFrom < 0)
            out += c;
    }
    return out;
}

} // namespace corvane::fakes
